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

void appendPoseJson(std::string& out, const PlotPose& pose) {
    out += "{\"f\":";
    out += std::to_string(pose.file);
    out += ",\"l\":";
    out += std::to_string(pose.line);
    out += ",\"n\":";
    out += pageJsonQuoted(pose.name);
    if (!pose.comment.empty()) {
        out += ",\"c\":";
        out += pageJsonQuoted(pose.comment);
    }
    out += ",\"t\":";
    out += pageJsonQuoted(pose.type);
    out += ",\"s\":\"";
    out += statusName(pose.status);
    out += "\",\"r\":\"";
    out += plotRoleName(pose.role);
    out += '"';
    if (pose.frame) {
        out += ",\"fr\":1";
    }
    if (pose.placed) {
        out += ",\"p\":";
        appendNumbers(out, pose.position, 3);
    }
    if (pose.oriented) {
        out += ",\"q\":";
        appendNumbers(out, pose.rotation, 4);
    }
    out += ",\"m\":";
    out += std::to_string(pose.members);
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
        out += std::to_string(pose.fromLine);
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

void appendSceneHead(std::string& out, const PlotScene& scene) {
    out += "{\"kind\":\"";
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
        out += "\"}";
    }
    out += "],\"members\":[";
    for (std::size_t k = 0; k < scene.memberSets.size(); ++k) {
        out += k == 0 ? "" : ",";
        out += pageJsonQuoted(scene.memberSets[k]);
    }
    out += "],\"poses\":[";
}

} // namespace

void drainSink(PlotSink& sink, bool all) {
    if (sink.text.size() < pieceBytes && !all) {
        return;
    }
    if (!sink.failed &&
        std::fwrite(sink.text.data(), 1, sink.text.size(), sink.stream) != sink.text.size()) {
        sink.failed = true;
    }
    sink.text.clear();
}

void writePlotHtml(PlotSink& sink, const PlotScene& scene) {
    appendPieces(sink.text, pageHtml);
    sink.text += "<script type=\"application/json\" id=\"plot-data\">";
    appendSceneHead(sink.text, scene);
    for (std::size_t k = 0; k < scene.poses.size(); ++k) {
        sink.text += k == 0 ? "\n" : ",\n";
        appendPoseJson(sink.text, scene.poses[k]);
        drainSink(sink);
    }
    sink.text += "]}</script>\n<script>\n";
    appendPieces(sink.text, threeJs);
    drainSink(sink);
    sink.text += "\n</script>\n<script>\n";
    appendPieces(sink.text, orbitControlsJs);
    sink.text += "\n</script>\n<script>\n";
    appendPieces(sink.text, pageJs);
    sink.text += "</script>\n</body>\n</html>\n";
    drainSink(sink, true);
}
