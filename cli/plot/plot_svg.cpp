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
constexpr double gap = 24.0;
constexpr double margin = 20.0;
constexpr double headHeight = 72.0;
constexpr double legendHeight = 96.0;
constexpr double pad = 28.0; // inside a panel, around the points
// A small scene names every pose, as the page does; a large one only its frames.
constexpr std::size_t namedPoses = 60;

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

void appendPanel(PlotSink& sink, const PlotScene& scene, const Panel& panel) {
    std::string& out = sink.text;
    const double width = (panel.high[0] - panel.low[0]) * panel.scale;
    const double height = (panel.high[1] - panel.low[1]) * panel.scale;
    out += fmt::format("<g class=\"view\">\n<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" "
                       "height=\"{:.1f}\" fill=\"#fff\" stroke=\"#999\"/>\n",
                       panel.left, panel.top, width, height);
    appendLabel(out, "view-title", panel.left, panel.top - 8, panel.view.title, "#222");
    appendGrid(out, panel, scene.gridSpacing);

    // Paths first, so that the triads are drawn over them.
    const bool list = scene.kind == PlotKind::list;
    for (std::uint32_t file = 0; list && file < scene.files.size(); ++file) {
        std::string d;
        for (const PlotPose& pose : scene.poses) {
            if (pose.file == file && pose.placed && !pose.frame) {
                (d.empty() ? moveTo : lineTo)(d, panel, pose.position);
            }
        }
        appendPath(out, "path", "#8fa3c0", 0.8, d, "fill=\"none\" stroke-opacity=\"0.6\"");
    }
    drainSink(sink);

    std::string triads[3], greyTriads, faintTriads, dots, frames[3];
    std::string marks;
    for (const PlotPose& pose : scene.poses) {
        if (!pose.placed) {
            continue;
        }
        const bool greyed = pose.role == PlotRole::unchanged || pose.role == PlotRole::removed;
        const std::string& name = pose.name.empty() ? pose.type : pose.name;
        if (pose.frame) {
            appendLabel(marks, "frame-label", panel.x(pose.position) + 5,
                        panel.y(pose.position) - 5, name);
        } else if (scene.poses.size() <= namedPoses && pose.role != PlotRole::nominal &&
                   !(scene.kind == PlotKind::fit && pose.name == scene.worst)) {
            appendLabel(marks, "pose-label", panel.x(pose.position) + 4,
                        panel.y(pose.position) + 12, name, "#666");
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
                appendLabel(
                    marks, "worst-label", panel.x(pose.position) + 6, panel.y(pose.position) + 12,
                    fmt::format("worst: {}, {:.3f} mm", pose.name, pose.distanceMm), "#b00020");
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
    appendLabel(out, "world-label", panel.x(origin) + 5, panel.y(origin) + 14, "world");
    out += marks;
    out += "</g>\n";
    drainSink(sink);
}

} // namespace

void writePlotSvg(PlotSink& sink, const PlotScene& scene) {
    // One scale for the three views: the largest extent fits a panel.
    double extent = 1.0;
    for (int axis = 0; axis < 3; ++axis) {
        extent = std::max(extent, scene.high[axis] - scene.low[axis] + 2 * scene.axisLength);
    }
    const double scale = (panelSize - 2 * pad) / extent;
    const double width = 2 * margin + 3 * panelSize + 2 * gap;
    const double height = headHeight + panelSize + legendHeight;
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
    appendLabel(out, "title", margin, 24, scene.title, "#111");
    appendLabel(out, "summary", margin, 42, scene.summary, "#444");
    for (std::size_t k = 0; k < views.size(); ++k) {
        Panel panel;
        panel.view = views[k];
        panel.scale = scale;
        panel.left = margin + static_cast<double>(k) * (panelSize + gap);
        panel.top = headHeight + 10;
        const int axes[2] = {panel.view.right, panel.view.up};
        for (int j = 0; j < 2; ++j) {
            const double middle = (scene.low[axes[j]] + scene.high[axes[j]]) / 2;
            panel.low[j] = middle - (panelSize / 2) / scale;
            panel.high[j] = middle + (panelSize / 2) / scale;
        }
        appendPanel(sink, scene, panel);
    }

    // The legend under the views.
    const double y = headHeight + panelSize + 34;
    double x = margin;
    for (int k = 0; k < 3; ++k) {
        out += fmt::format("<path stroke=\"{}\" stroke-width=\"3\" d=\"M{:.1f} {:.1f}h22\"/>\n",
                           axisColors[k], x, y - 4);
        appendLabel(out, "legend", x + 28, y, std::string(1, "XYZ"[k]));
        x += 56;
    }
    std::string sizes =
        fmt::format("grid {} mm, triads {} mm, frames twice as long, the world's "
                    "triad three times",
                    shortestDouble(scene.gridSpacing), shortestDouble(scene.axisLength));
    appendLabel(out, "legend", x + 10, y, sizes);
    std::string second;
    if (scene.kind == PlotKind::list) {
        second = "grey dots: partial, uninitialised or not-unit poses (position only); faint "
                 "lines: each file's poses in file order";
    } else if (scene.kind == PlotKind::diff) {
        second = fmt::format("grey: unchanged; moved: light orange (0 mm) to dark violet ({} mm), "
                             "from the faint old triad to the new one; teal: added; black: "
                             "removed; brown: changed",
                             shortestFloat(static_cast<float>(scene.largestMove)));
        for (int k = 0; k <= 20; ++k) {
            out += fmt::format("<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"8\" height=\"10\" "
                               "fill=\"{}\"/>\n",
                               margin + 8.0 * k, y + 34, rampColor(k / 20.0));
        }
    } else {
        second = fmt::format("blue: nominal points moved by the fitted frame; black: measured; "
                             "red: residuals drawn {} times longer",
                             shortestFloat(static_cast<float>(scene.magnification)));
    }
    appendLabel(out, "legend", margin, y + 24, second);
    out += "</svg>\n";
    drainSink(sink, true);
}
