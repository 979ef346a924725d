#include "cli/plot/plot_output.h"

#include "cli/output/escape.h"
#include "cli/output/json_writer.h"
#include "robotfiles/scan_text.h"

#include <charconv>
#include <cmath>

// The page's library and its own markup and code, from plot_page_text.cpp,
// which the build writes: each is a list of pieces closed by an empty one.
extern const std::string_view threeJs[];
extern const std::string_view orbitControlsJs[];
extern const std::string_view pageHtml[];
extern const std::string_view pageJs[];

namespace {

constexpr std::size_t pieceBytes = std::size_t{1} << 16;

void appendPieces(std::string& out, const std::string_view* pieces) {
    for (; !pieces->empty(); ++pieces) {
        out += *pieces;
    }
}

// Positions and values are shown, not computed with: the shortest decimal of
// their float keeps the page small and is exact to well below a micrometre
// within a cell.
// A value beyond the range of float is no number the page could use: null,
// as for one that is not finite.
void appendNumber(std::string& out, double value) {
    appendJsonFloat(out, static_cast<float>(value));
}

void appendNumbers(std::string& out, const double* values, std::size_t count) {
    out += '[';
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0) {
            out += ',';
        }
        appendNumber(out, values[k]);
    }
    out += ']';
}

void appendUnsigned(std::string& out, std::uint64_t value) {
    appendJsonUnsigned(out, value);
}

void appendPoseJson(std::string& out, PlotScene& scene, const PlotPose& pose) {
    out += "{\"f\":";
    appendUnsigned(out, pose.file);
    out += ",\"l\":";
    appendUnsigned(out, pose.line);
    if (!pose.name.empty()) {
        out += ",\"n\":";
        out += pageJsonQuoted(pose.name);
    }
    if (!pose.comment.empty()) {
        out += ",\"c\":";
        out += pageJsonQuoted(pose.comment);
    }
    out += ",\"t\":";
    appendUnsigned(out, typeIndex(scene, pose.type));
    // The usual values are left out: ok, a plain pose, its place and turn in
    // its values.
    if (pose.status != PoseStatus::ok) {
        out += ",\"s\":\"";
        out += statusName(pose.status);
        out += '"';
    }
    if (pose.role != PlotRole::pose) {
        out += ",\"r\":\"";
        out += plotRoleName(pose.role);
        out += '"';
    }
    if (pose.frame) {
        out += ",\"fr\":1";
    }
    if (pose.placed && !pose.fromValues) {
        out += ",\"p\":";
        appendNumbers(out, pose.position, 3);
    }
    if (pose.oriented && !pose.fromValues) {
        out += ",\"q\":";
        appendNumbers(out, pose.rotation, 4);
    }
    if (pose.members != 0) {
        out += ",\"m\":";
        appendUnsigned(out, pose.members);
    }
    out += ",\"v\":";
    appendNumbers(out, pose.values.data(), pose.values.size());
    if (pose.hasFrom) {
        out += ",\"o\":";
        appendNumbers(out, pose.from, 3);
        if (pose.fromOriented) {
            out += ",\"oq\":";
            appendNumbers(out, pose.fromRotation, 4);
        }
        out += ",\"ol\":";
        appendUnsigned(out, pose.fromLine);
    }
    if (pose.role == PlotRole::moved || pose.role == PlotRole::measured) {
        out += ",\"d\":";
        appendNumber(out, pose.distanceMm);
        out += ",\"a\":";
        appendNumber(out, pose.angleDeg);
    }
    out += '}';
}

const char* kindName(PlotKind kind) {
    return kind == PlotKind::diff ? "diff" : kind == PlotKind::fit ? "fit" : "list";
}

const char* groupKindName(PlotGroupKind kind) {
    switch (kind) {
    case PlotGroupKind::taught:
        return "taught";
    case PlotGroupKind::unvisited:
        return "unvisited";
    case PlotGroupKind::bases:
        return "bases";
    case PlotGroupKind::tools:
        return "tools";
    }
    return "taught";
}

void appendStrings(std::string& out, const std::vector<std::string>& texts) {
    out += '[';
    for (std::size_t k = 0; k < texts.size(); ++k) {
        out += k == 0 ? "" : ",";
        out += pageJsonQuoted(texts[k]);
    }
    out += ']';
}

// Everything but the poses, which come first so that a long list of them
// can be written while the files are read: the sizes, files, groups and
// paths are known only at the end.
void appendSceneTail(PlotSink& sink, const PlotScene& scene) {
    std::string& out = sink.text;
    out += "\n],\"kind\":\"";
    out += kindName(scene.kind);
    out += "\",\"title\":";
    out += pageJsonQuoted(scene.title);
    out += ",\"summary\":";
    out += pageJsonQuoted(scene.summary);
    out += ",\"notation\":";
    out += pageJsonQuoted(scene.notation);
    out += ",\"low\":";
    appendNumbers(out, scene.low, 3);
    out += ",\"high\":";
    appendNumbers(out, scene.high, 3);
    out += ",\"axisLength\":";
    appendNumber(out, scene.axisLength);
    out += ",\"gridSpacing\":";
    appendNumber(out, scene.gridSpacing);
    out += ",\"largestMove\":";
    appendNumber(out, scene.largestMove);
    out += ",\"magnification\":";
    appendNumber(out, scene.magnification);
    out += ",\"worst\":";
    out += pageJsonQuoted(scene.worst);
    out += ",\"files\":[";
    for (std::size_t k = 0; k < scene.files.size(); ++k) {
        out += k == 0 ? "{\"path\":" : ",{\"path\":";
        out += pageJsonQuoted(scene.files[k].shown);
        out += ",\"vendor\":\"";
        out += vendorName(scene.files[k].vendor);
        out += "\",\"drawn\":";
        appendUnsigned(out, scene.files[k].drawn);
        out += '}';
    }
    out += "],\"fileOrder\":[";
    const std::vector<std::uint32_t> order = plotFileOrder(scene);
    for (std::size_t k = 0; k < order.size(); ++k) {
        out += k == 0 ? "" : ",";
        appendUnsigned(out, order[k]);
    }
    out += "],\"members\":";
    appendStrings(out, scene.memberSets);
    out += ",\"types\":";
    appendStrings(out, scene.types);
    out += ",\"groups\":[";
    for (std::size_t k = 0; k < scene.groups.size(); ++k) {
        const PlotGroup& group = scene.groups[k];
        out += k == 0 ? "{\"label\":" : ",{\"label\":";
        out += pageJsonQuoted(group.label);
        out += ",\"note\":";
        out += pageJsonQuoted(group.note);
        out += ",\"kind\":\"";
        out += groupKindName(group.kind);
        out += "\",\"world\":";
        out += group.world ? "true" : "false";
        if (group.moved) {
            out += ",\"at\":";
            appendNumbers(out, group.at, 3);
            out += ",\"turn\":";
            appendNumbers(out, group.turn, 4);
        }
        out += ",\"count\":";
        appendUnsigned(out, group.count);
        out += '}';
    }
    // Each pose's group, as runs: group, count, group, count, ...
    out += "],\"groupRuns\":[";
    for (std::size_t k = 0; k < scene.poseGroups.size();) {
        std::size_t end = k + 1;
        while (end < scene.poseGroups.size() && scene.poseGroups[end] == scene.poseGroups[k]) {
            ++end;
        }
        out += k == 0 ? "" : ",";
        appendUnsigned(out, scene.poseGroups[k]);
        out += ',';
        appendUnsigned(out, end - k);
        k = end;
        drainSink(sink);
    }
    out += "],\"paths\":[";
    for (std::size_t k = 0; k < scene.paths.size(); ++k) {
        out += k == 0 ? "{\"f\":" : ",{\"f\":";
        appendUnsigned(out, scene.paths[k].file);
        out += ",\"runs\":[";
        const std::vector<std::uint32_t>& runs = scene.paths[k].runs;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            out += r == 0 ? "" : ",";
            appendUnsigned(out, runs[r]);
        }
        out += "]}";
        drainSink(sink);
    }
    out += "],\"leftOut\":[";
    bool first = true;
    for (int k = 0; k < plotLeftOutCount; ++k) {
        if (scene.leftOut[k] == 0) {
            continue;
        }
        out += first ? "[" : ",[";
        first = false;
        appendUnsigned(out, scene.leftOut[k]);
        out += ',';
        out += pageJsonQuoted(plotLeftOutName(static_cast<PlotLeftOut>(k), scene.leftOut[k]));
        out += ']';
    }
    out += "],\"visitedTwice\":";
    appendUnsigned(out, scene.visitedTwice);
    out += '}';
}

} // namespace

void drainSink(PlotSink& sink, bool all) {
    if (sink.stream == nullptr || (sink.text.size() < pieceBytes && !all)) {
        return;
    }
    if (!sink.failed &&
        std::fwrite(sink.text.data(), 1, sink.text.size(), sink.stream) != sink.text.size()) {
        sink.failed = true;
    }
    sink.text.clear();
}

void writePageHead(PlotSink& sink) {
    appendPieces(sink.text, pageHtml);
    sink.text += "<script type=\"application/json\" id=\"plot-data\">{\"poses\":[";
}

void appendPagePose(PlotSink& sink, PlotScene& scene, const PlotPose& pose, bool first) {
    sink.text += first ? "\n" : ",\n";
    appendPoseJson(sink.text, scene, pose);
    drainSink(sink);
}

void writePageTail(PlotSink& sink, const PlotScene& scene) {
    appendSceneTail(sink, scene);
    sink.text += "</script>\n<script>\n";
    appendPieces(sink.text, threeJs);
    drainSink(sink);
    sink.text += "\n</script>\n<script>\n";
    appendPieces(sink.text, orbitControlsJs);
    sink.text += "\n</script>\n<script>\n";
    appendPieces(sink.text, pageJs);
    sink.text += "</script>\n</body>\n</html>\n";
    drainSink(sink, true);
}

void writePlotHtml(PlotSink& sink, PlotScene& scene) {
    writePageHead(sink);
    for (std::size_t k = 0; k < scene.poses.size(); ++k) {
        appendPagePose(sink, scene, scene.poses[k], k == 0);
    }
    writePageTail(sink, scene);
}
