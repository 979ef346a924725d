#include "cli/plot/plot_output.h"

#include "cli/output/escape.h"
#include "cli/output/json_writer.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

// Three views side by side, as on a drawing: top, front and side, at one
// scale, with the page's colours, so that a printed report and the page tell
// the same story.

namespace {

// The drawing in CSS pixels: on A4 landscape a 13 px label prints at about
// 2.6 mm, as large as a report's footnotes.
constexpr double panelSize = 480.0;
constexpr double gap = 64.0; // room for the next panel's millimetres
constexpr double margin = 20.0;
constexpr double leftMargin = 60.0; // the first panel's millimetres stand left of it
constexpr double headHeight = 72.0;
constexpr double tickRoom = 30.0; // under a panel: its millimetres
constexpr double legendLine = 18.0;
constexpr double pad = 28.0; // inside a panel, around the points
// A small scene names every pose, as the page does; a large one only its frames.
constexpr std::size_t namedPoses = 60;
// Millimetre numbers at least this far apart along an axis, in pixels.
constexpr double tickLabelSpacing[2] = {56.0, 22.0}; // along the right axis, the up axis
// A label's box, from its font size: sans-serif glyphs average about 0.6 em.
constexpr double glyphWidth = 0.62;
// At most this many groups are named one a line in the legend.
constexpr std::size_t legendGroups = 12;

struct View {
    const char* title;
    int right; // the axis drawn to the right
    int up;    // the axis drawn upwards
};
constexpr std::array<View, 3> views = {{
    {"Top: looking along -Z, X right, Y up", 0, 1},
    {"Front: looking along +Y, X right, Z up", 0, 2},
    {"Side: looking along -X, Y right, Z up", 1, 2},
}};

const char* const axisColors[3] = {"#d62728", "#2ca02c", "#1f77b4"};
const char* const grey = "#9e9e9e";
const char* const faintGrey = "#d0d0d0";

// The page's scale from light orange (small moves) to dark violet (large).
std::string rampColor(double t) {
    static const double ramp[3][3] = {{1.0, 0.80, 0.40}, {0.85, 0.15, 0.35}, {0.29, 0.08, 0.55}};
    t = std::clamp(t, 0.0, 1.0) * 2.0;
    const int i = std::min(1, static_cast<int>(t));
    const double f = t - i;
    int rgb[3];
    for (int k = 0; k < 3; ++k) {
        rgb[k] =
            static_cast<int>(std::lround(255.0 * (ramp[i][k] + (ramp[i + 1][k] - ramp[i][k]) * f)));
    }
    return fmt::format("#{:02x}{:02x}{:02x}", rgb[0], rgb[1], rgb[2]);
}

const char* roleColor(PlotRole role) {
    switch (role) {
    case PlotRole::added:
        return "#00a0b0";
    case PlotRole::removed:
    case PlotRole::measured:
        return "#222222";
    case PlotRole::changed:
        return "#8d6e63";
    case PlotRole::nominal:
        return "#1f77b4";
    default:
        return nullptr;
    }
}

void appendCoordinate(std::string& out, double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    out.append(buffer, result.ptr);
}

void axesOf(const double* q, double axes[3][3]) {
    const double w = q[0], x = q[1], y = q[2], z = q[3];
    const double m[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
                            {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
                            {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)}};
    std::copy(&m[0][0], &m[0][0] + 9, &axes[0][0]);
}

// One panel's mapping from millimetres to the drawing.
struct Panel {
    View view;
    double left = 0.0, top = 0.0;
    double scale = 1.0;
    double low[2] = {};  // mm at the panel's lower left
    double high[2] = {}; // mm at its upper right

    double x(const double* p) const { return left + (p[view.right] - low[0]) * scale; }
    double y(const double* p) const { return top + (high[1] - p[view.up]) * scale; }
};

void moveTo(std::string& d, const Panel& panel, const double* p) {
    d += 'M';
    appendCoordinate(d, panel.x(p));
    d += ' ';
    appendCoordinate(d, panel.y(p));
}
void lineTo(std::string& d, const Panel& panel, const double* p) {
    d += 'L';
    appendCoordinate(d, panel.x(p));
    d += ' ';
    appendCoordinate(d, panel.y(p));
}

void appendPath(std::string& out, const char* className, const char* color, double width,
                const std::string& d, const char* extra = "") {
    if (d.empty()) {
        return;
    }
    out += fmt::format("<path class=\"{}\" stroke=\"{}\" stroke-width=\"{}\" {} d=\"", className,
                       color, width, extra);
    out += d;
    out += "\"/>\n";
}

void appendGrid(std::string& out, const Panel& panel, double spacing) {
    std::string d;
    for (int k = 0; k < 2; ++k) {
        const double first = std::ceil(panel.low[k] / spacing) * spacing;
        for (double v = first; v <= panel.high[k] + 1e-9; v += spacing) {
            double a[3] = {}, b[3] = {};
            const int along = k == 0 ? panel.view.right : panel.view.up;
            const int across = k == 0 ? panel.view.up : panel.view.right;
            a[along] = b[along] = v;
            a[across] = panel.low[1 - k];
            b[across] = panel.high[1 - k];
            moveTo(d, panel, a);
            lineTo(d, panel, b);
        }
    }
    appendPath(out, "grid", "#e3e3e3", 0.6, d);
}

void appendTriad(std::string (&d)[3], const Panel& panel, const double* p, const double* q,
                 double length) {
    double axes[3][3];
    axesOf(q, axes);
    for (int k = 0; k < 3; ++k) {
        const double end[3] = {p[0] + axes[k][0] * length, p[1] + axes[k][1] * length,
                               p[2] + axes[k][2] * length};
        moveTo(d[k], panel, p);
        lineTo(d[k], panel, end);
    }
}

void appendLabel(std::string& out, const char* className, double x, double y,
                 const std::string& text, const char* color = "#333") {
    out += fmt::format("<text class=\"{}\" x=\"{:.1f}\" y=\"{:.1f}\" fill=\"{}\">", className, x, y,
                       color);
    out += xmlEscaped(text);
    out += "</text>\n";
}

// A label the panel would like to show beside a point, and where labels are
// already shown: a label that would overlap one shown or leave the panel is
// left out and counted, so that no two texts pile into an unreadable block.
struct LabelWish {
    double x = 0.0, y = 0.0; // the point it names
    std::string text;
    const char* className = "";
    const char* color = "#333";
    double size = 11.0;
    int rank = 0; // lower first: the world, the worst point, frames, poses
};

struct Box {
    double left, top, right, bottom;
};

// Characters, not bytes: UTF-8's continuation bytes start no glyph.
std::size_t glyphCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool overlaps(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Places the wishes in rank order, each at the first of four spots beside
// its point that is free; returns how many found none.
std::size_t placeLabels(std::string& out, std::vector<LabelWish>& wishes, const Box& inside,
                        std::vector<Box>& taken) {
    std::stable_sort(wishes.begin(), wishes.end(),
                     [](const LabelWish& a, const LabelWish& b) { return a.rank < b.rank; });
    std::size_t dropped = 0;
    for (const LabelWish& wish : wishes) {
        const double width = glyphWidth * wish.size * static_cast<double>(glyphCount(wish.text));
        const double height = wish.size;
        // Right above, right below, left above, left below: (left, baseline).
        const double spots[4][2] = {{wish.x + 5, wish.y - 5},
                                    {wish.x + 5, wish.y + 5 + height},
                                    {wish.x - 5 - width, wish.y - 5},
                                    {wish.x - 5 - width, wish.y + 5 + height}};
        bool placed = false;
        for (const auto& spot : spots) {
            // A little room around each, so that two labels never touch.
            const Box box{spot[0] - 1, spot[1] - height - 1, spot[0] + width + 1, spot[1] + 3};
            const bool within = box.left >= inside.left && box.right <= inside.right &&
                                box.top >= inside.top && box.bottom <= inside.bottom;
            if (!within || std::any_of(taken.begin(), taken.end(),
                                       [&](const Box& other) { return overlaps(box, other); })) {
                continue;
            }
            taken.push_back(box);
            out += fmt::format("<text class=\"{}\" x=\"{:.1f}\" y=\"{:.1f}\" fill=\"{}\" "
                               "font-size=\"{}\">",
                               wish.className, spot[0], spot[1], wish.color, wish.size);
            out += xmlEscaped(wish.text);
            out += "</text>\n";
            placed = true;
            break;
        }
        dropped += placed ? 0 : 1;
    }
    return dropped;
}

// A tick every grid line on the panel's lower and left edges, and the
// millimetres at those far enough apart to be read. Returns the box of the
// up axis's name, which stands inside the panel, for the labels to keep
// clear of.
Box appendTicks(std::string& out, const Panel& panel, double spacing) {
    std::string d;
    const double bottom = panel.top + (panel.high[1] - panel.low[1]) * panel.scale;
    static const char* const axisNames[3] = {"X", "Y", "Z"};
    for (int k = 0; k < 2; ++k) {
        const int every =
            std::max(1, static_cast<int>(std::ceil(tickLabelSpacing[k] / (spacing * panel.scale))));
        const long long first = static_cast<long long>(std::ceil(panel.low[k] / spacing - 1e-9));
        const long long last = static_cast<long long>(std::floor(panel.high[k] / spacing + 1e-9));
        for (long long n = first; n <= last; ++n) {
            const double value = static_cast<double>(n) * spacing;
            const bool named = n % every == 0;
            const double length = named ? 6.0 : 3.0;
            if (k == 0) {
                const double x = panel.left + (value - panel.low[0]) * panel.scale;
                d += fmt::format("M{:.1f} {:.1f}v{:.1f}", x, bottom, length);
                if (named) {
                    out += fmt::format("<text class=\"tick\" x=\"{:.1f}\" y=\"{:.1f}\" "
                                       "text-anchor=\"middle\" font-size=\"10\" "
                                       "fill=\"#555\">{}</text>\n",
                                       x, bottom + 17, shortestDouble(value));
                }
            } else {
                const double y = panel.top + (panel.high[1] - value) * panel.scale;
                d += fmt::format("M{:.1f} {:.1f}h{:.1f}", panel.left, y, -length);
                if (named) {
                    out += fmt::format("<text class=\"tick\" x=\"{:.1f}\" y=\"{:.1f}\" "
                                       "text-anchor=\"end\" font-size=\"10\" "
                                       "fill=\"#555\">{}</text>\n",
                                       panel.left - 8, y + 3.5, shortestDouble(value));
                }
            }
        }
    }
    appendPath(out, "ticks", "#777", 0.8, d);
    const double right = panel.left + (panel.high[0] - panel.low[0]) * panel.scale;
    out += fmt::format("<text class=\"axis-name\" x=\"{:.1f}\" y=\"{:.1f}\" "
                       "text-anchor=\"end\" font-size=\"10\" fill=\"#555\">{} mm</text>\n",
                       right, bottom + 29, axisNames[panel.view.right]);
    out += fmt::format("<text class=\"axis-name\" x=\"{:.1f}\" y=\"{:.1f}\" "
                       "font-size=\"10\" fill=\"#555\">{} mm</text>\n",
                       panel.left + 4, panel.top + 12, axisNames[panel.view.up]);
    return Box{panel.left, panel.top, panel.left + 4 + 4 * glyphWidth * 10 + 2, panel.top + 15};
}

// Two poses of a path are joined where both stand in one space: one group,
// or two groups both drawn in world coordinates.
bool joined(const PlotScene& scene, std::uint32_t a, std::uint32_t b) {
    const std::uint32_t x = scene.poseGroups[a];
    const std::uint32_t y = scene.poseGroups[b];
    return x == y || (scene.groups[x].world && scene.groups[y].world);
}

void appendPanel(PlotSink& sink, const PlotScene& scene, const Panel& panel,
                 std::size_t& droppedLabels) {
    std::string& out = sink.text;
    {
        const double width = (panel.high[0] - panel.low[0]) * panel.scale;
        const double height = (panel.high[1] - panel.low[1]) * panel.scale;
        out += fmt::format("<g class=\"view\">\n<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" "
                           "height=\"{:.1f}\" fill=\"#fff\" stroke=\"#999\"/>\n",
                           panel.left, panel.top, width, height);
    }
    appendLabel(out, "view-title", panel.left, panel.top - 8, panel.view.title, "#222");
    appendGrid(out, panel, scene.gridSpacing);
    std::vector<Box> taken = {appendTicks(out, panel, scene.gridSpacing)};

    // Paths first, so that the triads are drawn over them: each program's
    // motions in the order they run.
    for (const PlotPath& path : scene.paths) {
        std::string d;
        std::int64_t before = -1;
        for (std::size_t r = 0; r + 1 < path.runs.size(); r += 2) {
            for (std::uint32_t k = 0; k < path.runs[r + 1]; ++k) {
                const std::uint32_t index = path.runs[r] + k;
                if (index >= scene.poses.size() || !scene.poses[index].placed) {
                    before = -1;
                    continue;
                }
                const double* at = scene.poses[index].position;
                if (before >= 0 && joined(scene, static_cast<std::uint32_t>(before), index)) {
                    lineTo(d, panel, at);
                } else {
                    moveTo(d, panel, at);
                }
                before = index;
            }
        }
        appendPath(out, "path", "#8fa3c0", 0.8, d, "fill=\"none\" stroke-opacity=\"0.6\"");
        drainSink(sink);
    }
    drainSink(sink);
    std::vector<LabelWish> wishes;

    std::string triads[3], greyTriads, faintTriads, dots, frames[3];
    std::string marks;
    for (const PlotPose& pose : scene.poses) {
        if (!pose.placed) {
            continue;
        }
        const bool greyed = pose.role == PlotRole::unchanged || pose.role == PlotRole::removed;
        const std::string& name = pose.name.empty() ? pose.type : pose.name;
        if (pose.frame) {
            wishes.push_back(LabelWish{panel.x(pose.position), panel.y(pose.position), name,
                                       "frame-label", "#333", 12.0, 2});
        } else if (scene.poses.size() <= namedPoses && pose.role != PlotRole::nominal &&
                   !(scene.kind == PlotKind::fit && pose.name == scene.worst)) {
            wishes.push_back(LabelWish{panel.x(pose.position), panel.y(pose.position), name,
                                       "pose-label", "#666", 11.0, 3});
        }
        if (pose.oriented && pose.frame) {
            appendTriad(frames, panel, pose.position, pose.rotation, scene.axisLength * 2);
        } else if (pose.oriented && greyed) {
            std::string d[3];
            appendTriad(d, panel, pose.position, pose.rotation, scene.axisLength);
            greyTriads += d[0] + d[1] + d[2];
        } else if (pose.oriented) {
            appendTriad(triads, panel, pose.position, pose.rotation, scene.axisLength);
        } else if (scene.kind != PlotKind::fit) {
            moveTo(dots, panel, pose.position);
            dots += "h0";
        }
        if (pose.role == PlotRole::moved && pose.hasFrom) {
            if (pose.fromOriented) {
                std::string d[3];
                appendTriad(d, panel, pose.from, pose.fromRotation, scene.axisLength);
                faintTriads += d[0] + d[1] + d[2];
            }
            const std::string color =
                rampColor(scene.largestMove > 0 ? pose.distanceMm / scene.largestMove : 0.0);
            std::string d;
            moveTo(d, panel, pose.from);
            lineTo(d, panel, pose.position);
            appendPath(marks, "arrow", color.c_str(), 1.2, d);
            marks += fmt::format("<circle class=\"mark moved\" cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"4\" "
                                 "fill=\"{}\"/>\n",
                                 panel.x(pose.position), panel.y(pose.position), color);
        } else if (const char* color = roleColor(pose.role)) {
            marks += fmt::format("<circle class=\"mark {}\" cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"4\" "
                                 "fill=\"{}\"/>\n",
                                 plotRoleName(pose.role), panel.x(pose.position),
                                 panel.y(pose.position), color);
        }
        if (scene.kind == PlotKind::fit && pose.role == PlotRole::measured && pose.hasFrom) {
            double end[3];
            for (int k = 0; k < 3; ++k) {
                end[k] = pose.from[k] + (pose.position[k] - pose.from[k]) * scene.magnification;
            }
            std::string d;
            moveTo(d, panel, pose.from);
            lineTo(d, panel, end);
            appendPath(marks, "residual", "#d81b60", 1.5, d);
            if (pose.name == scene.worst) {
                wishes.push_back(
                    LabelWish{panel.x(pose.position), panel.y(pose.position),
                              fmt::format("worst: {}, {:.3f} mm", pose.name, pose.distanceMm),
                              "worst-label", "#b00020", 12.0, 1});
            }
        }
    }
    appendPath(out, "faint-triads", faintGrey, 0.8, faintTriads);
    appendPath(out, "grey-triads", grey, 0.8, greyTriads);
    static const char* const triadClasses[3] = {"triad-x", "triad-y", "triad-z"};
    static const char* const frameClasses[3] = {"frame-x", "frame-y", "frame-z"};
    for (int k = 0; k < 3; ++k) {
        appendPath(out, triadClasses[k], axisColors[k], 0.8, triads[k]);
    }
    appendPath(out, "dots", grey, 5, dots, "stroke-linecap=\"round\"");
    drainSink(sink);

    // The world's origin and its triad.
    const double origin[3] = {0, 0, 0};
    const double identity[4] = {1, 0, 0, 0};
    std::string world[3];
    appendTriad(world, panel, origin, identity, scene.axisLength * 3);
    for (int k = 0; k < 3; ++k) {
        appendPath(out, "world", axisColors[k], 2.5, world[k]);
        appendPath(out, frameClasses[k], axisColors[k], 2, frames[k]);
    }
    wishes.push_back(
        LabelWish{panel.x(origin), panel.y(origin), "world", "world-label", "#333", 12.0, 0});
    out += marks;
    const double width = (panel.high[0] - panel.low[0]) * panel.scale;
    const double height = (panel.high[1] - panel.low[1]) * panel.scale;
    droppedLabels += placeLabels(
        out, wishes, Box{panel.left, panel.top, panel.left + width, panel.top + height}, taken);
    out += "</g>\n";
    drainSink(sink);
}

} // namespace

namespace {

// The lines of the legend under the views that say what the colours and
// lines mean, which frames the poses are drawn in, and what is not drawn.
std::vector<std::string> legendLines(const PlotScene& scene) {
    std::vector<std::string> lines;
    if (scene.kind == PlotKind::list) {
        lines.push_back("grey dots: partial, uninitialised or not-unit poses (position only); "
                        "faint lines: each program's motions in the order they run");
        std::size_t shown = 0;
        for (const PlotGroup& group : scene.groups) {
            if (shown++ == legendGroups) {
                lines.push_back(fmt::format("and {} more groups", scene.groups.size() - shown + 1));
                break;
            }
            lines.push_back(fmt::format("{}: {} {}, {}", group.label, group.count,
                                        group.count == 1 ? "pose" : "poses", group.note));
        }
        std::string left;
        for (int k = 0; k < plotLeftOutCount; ++k) {
            if (scene.leftOut[k] > 0) {
                left += fmt::format("{}{} {}", left.empty() ? "" : ", ", scene.leftOut[k],
                                    plotLeftOutName(static_cast<PlotLeftOut>(k), scene.leftOut[k]));
            }
        }
        if (!left.empty()) {
            lines.push_back("not drawn: " + left);
        }
    } else if (scene.kind == PlotKind::diff) {
        lines.push_back(fmt::format("grey: unchanged; moved: light orange (0 mm) to dark violet "
                                    "({} mm), from the faint old triad to the new one; teal: "
                                    "added; black: removed; brown: changed",
                                    shortestFloat(static_cast<float>(scene.largestMove))));
        lines.emplace_back(); // the colour scale
    } else {
        lines.push_back(fmt::format("blue: nominal points moved by the fitted frame; black: "
                                    "measured; red: residuals drawn {} times longer",
                                    shortestFloat(static_cast<float>(scene.magnification))));
    }
    return lines;
}

} // namespace

void writePlotSvg(PlotSink& sink, const PlotScene& scene) {
    // One scale for the three views: the largest extent fits a panel.
    double extent = 1.0;
    for (int axis = 0; axis < 3; ++axis) {
        extent = std::max(extent, scene.high[axis] - scene.low[axis] + 2 * scene.axisLength);
    }
    const double scale = (panelSize - 2 * pad) / extent;
    const std::vector<std::string> lines = legendLines(scene);
    // The sizes, the lines, and the labels left out.
    const double legendHeight = legendLine * static_cast<double>(lines.size() + 2) + 24;
    const double width = leftMargin + margin + 3 * panelSize + 2 * gap;
    const double height = headHeight + 10 + panelSize + tickRoom + legendHeight;
    std::string& out = sink.text;
    out += fmt::format("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0:.0f}\" "
                       "height=\"{1:.0f}\" viewBox=\"0 0 {0:.0f} {1:.0f}\" "
                       "font-family=\"sans-serif\" font-size=\"13\" fill=\"none\">\n",
                       width, height);
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += "<title>";
    out += xmlEscaped("posebridge-cli plot: " + scene.title);
    out += "</title>\n";
    appendLabel(out, "title", leftMargin, 24, scene.title, "#111");
    appendLabel(out, "summary", leftMargin, 42, scene.summary, "#444");
    std::size_t dropped = 0;
    for (std::size_t k = 0; k < views.size(); ++k) {
        Panel panel;
        panel.view = views[k];
        panel.scale = scale;
        panel.left = leftMargin + static_cast<double>(k) * (panelSize + gap);
        panel.top = headHeight + 10;
        const int axes[2] = {panel.view.right, panel.view.up};
        for (int j = 0; j < 2; ++j) {
            const double middle = (scene.low[axes[j]] + scene.high[axes[j]]) / 2;
            panel.low[j] = middle - (panelSize / 2) / scale;
            panel.high[j] = middle + (panelSize / 2) / scale;
        }
        appendPanel(sink, scene, panel, dropped);
    }

    // The legend under the views.
    double y = headHeight + 10 + panelSize + tickRoom + legendLine;
    double x = leftMargin;
    for (int k = 0; k < 3; ++k) {
        out += fmt::format("<path stroke=\"{}\" stroke-width=\"3\" d=\"M{:.1f} {:.1f}h22\"/>\n",
                           axisColors[k], x, y - 4);
        appendLabel(out, "legend", x + 28, y, std::string(1, "XYZ"[k]));
        x += 56;
    }
    appendLabel(out, "legend", x + 10, y,
                fmt::format("grid {} mm, triads {} mm, frames twice as long, the world's triad "
                            "three times; ticks on each view's edges in mm",
                            shortestDouble(scene.gridSpacing), shortestDouble(scene.axisLength)));
    for (const std::string& line : lines) {
        y += legendLine;
        if (line.empty()) {
            for (int k = 0; k <= 20; ++k) {
                out += fmt::format("<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"8\" height=\"10\" "
                                   "fill=\"{}\"/>\n",
                                   leftMargin + 8.0 * k, y - 10, rampColor(k / 20.0));
            }
            continue;
        }
        appendLabel(out, "legend", leftMargin, y, line);
    }
    y += legendLine;
    appendLabel(
        out, "legend labels-left-out", leftMargin, y,
        fmt::format("{} {} left out where {} would overlap another or leave its view{}", dropped,
                    dropped == 1 ? "label" : "labels", dropped == 1 ? "it" : "they",
                    scene.poses.size() > namedPoses
                        ? fmt::format("; poses are named when there are at most {}", namedPoses)
                        : std::string()));
    out += "</svg>\n";
    drainSink(sink, true);
}
