#include "cli/plot/plot_frames.h"

#include "math/quat_pose.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <algorithm>
#include <cmath>

namespace {

// The KRL system variables that are frames of the cell, drawn with the
// frames; every other $ variable is the controller's state ($TIRORO, the
// tool in the robot's root while it moves) or a setting, not a place.
struct SystemFrame {
    std::string_view name;
    bool base;
};
constexpr SystemFrame systemFrames[] = {
    {"$ROBROOT", true}, {"$ROBROOT_C", true}, {"$ERSYSROOT", true}, {"$WORLD", true},
    {"$BASE", true},    {"$BASE_C", true},    {"$TOOL", false},     {"$TOOL_C", false},
};
// Load data: a mass, its centre of mass and its inertia, not a place.
constexpr std::string_view loadPrefixes[] = {"LOAD_DATA", "$LOAD", "$DEF_L"};

// The frame each vendor calls the world.
constexpr std::string_view worldNames[] = {"$WORLD", "WOBJ0", "UF0"}; // kuka, abb, fanuc

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string lowerPath(std::string text) {
    for (char& c : text) {
        c = c == '\\' ? '/' : lowerByte(c);
    }
    return text;
}

char vendorLetter(Vendor vendor) {
    return vendor == Vendor::kuka ? 'k' : vendor == Vendor::abb ? 'a' : 'f';
}

std::string joinKey(std::string_view scope, std::string_view key) {
    std::string joined;
    joined.reserve(scope.size() + 1 + key.size());
    joined.append(scope);
    joined += '\x1f';
    joined.append(key);
    return joined;
}

// Hamilton products of unit quaternions, scalar first.
void multiplyTurns(const double* a, const double* b, double* out) {
    const double w = a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3];
    const double x = a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2];
    const double y = a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1];
    const double z = a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0];
    out[0] = w;
    out[1] = x;
    out[2] = y;
    out[3] = z;
}

// at + turn * p: a point of the frame in world coordinates.
void throughFrame(const PlotGroup& group, const double* p, double* out) {
    const double* q = group.turn;
    const double v[4] = {0, p[0], p[1], p[2]};
    const double conjugate[4] = {q[0], -q[1], -q[2], -q[3]};
    double half[4], turned[4];
    multiplyTurns(q, v, half);
    multiplyTurns(half, conjugate, turned);
    for (int axis = 0; axis < 3; ++axis) {
        out[axis] = group.at[axis] + turned[axis + 1];
    }
}

std::int32_t internFrameUse(PlotFrameBook& book, std::uint32_t file, std::string_view name) {
    std::string key = std::to_string(file);
    key += '\x1f';
    key.append(name);
    const auto found = book.frameUseIds.find(key);
    if (found != book.frameUseIds.end()) {
        return found->second;
    }
    const auto id = static_cast<std::int32_t>(book.frameUses.size());
    book.frameUses.push_back(PlotFrameBook::FrameUse{file, std::string(name)});
    book.frameUseIds.emplace(std::move(key), id);
    return id;
}

// The text of a FANUC position's UF: its number, or F.
std::string userFrameOf(const PoseRecord& pose) {
    for (const ExtraItem& item : pose.extra) {
        if (item.key == "uf" &&
            (item.value.kind == ExtraKind::integer || item.value.kind == ExtraKind::text)) {
            return "UF " + item.value.text;
        }
    }
    return {};
}

bool truthOf(const PoseRecord& pose, std::string_view key, bool otherwise) {
    for (const ExtraItem& item : pose.extra) {
        if (item.key == key && item.value.kind == ExtraKind::truth) {
            return item.value.truth;
        }
    }
    return otherwise;
}

// How the groups are settled: the frames by where they may be named from.
struct FrameMaps {
    std::unordered_map<std::string, std::uint32_t> local;  // module + name
    std::unordered_map<std::string, std::uint32_t> robot;  // KRL: a $config.dat's robot + name
    std::unordered_map<std::string, std::uint32_t> task;   // RAPID: the folder + name
    std::unordered_map<std::string, std::uint32_t> global; // vendor + name
    std::vector<std::string> robots;                       // KRL: the folders of each robot
};

// The robot a KRL file belongs to: the deepest folder of a $config.dat's
// robot (the folder above its System folder) that holds the file.
std::string robotOf(const FrameMaps& maps, const std::string& folder) {
    std::string best;
    for (const std::string& robot : maps.robots) {
        const bool inside =
            folder == robot || (folder.size() > robot.size() && startsWith(folder, robot) &&
                                folder[robot.size()] == '/');
        if (inside && robot.size() >= best.size()) {
            best = robot;
        }
    }
    return best;
}

FrameMaps frameMaps(const PlotFrameBook& book) {
    FrameMaps maps;
    for (const PlotFrameBook::File& file : book.files) {
        if (file.configDat) {
            std::string robot = file.folder;
            const std::size_t slash = robot.rfind('/');
            if (slash != std::string::npos && robot.substr(slash + 1) == "system") {
                robot.resize(slash);
            }
            maps.robots.push_back(robot);
        }
    }
    for (std::uint32_t k = 0; k < book.frames.size(); ++k) {
        const PlotFrameBook::Frame& frame = book.frames[k];
        const PlotFrameBook::File& file = book.files[frame.file];
        maps.local.emplace(joinKey(file.module, frame.key), k);
        if (file.configDat) {
            maps.robot.emplace(joinKey(robotOf(maps, file.folder), frame.key), k);
        }
        maps.task.emplace(joinKey(file.folder, frame.key), k);
        maps.global.emplace(joinKey(std::string(1, vendorLetter(file.vendor)), frame.key), k);
    }
    return maps;
}

const PlotFrameBook::Frame* findFrame(const PlotFrameBook& book, const FrameMaps& maps,
                                      const PlotFrameBook::File& file, const std::string& key) {
    const auto look = [&](const std::unordered_map<std::string, std::uint32_t>& map,
                          const std::string& scope) -> const PlotFrameBook::Frame* {
        const auto found = map.find(joinKey(scope, key));
        if (found == map.end()) {
            return nullptr;
        }
        const PlotFrameBook::Frame& frame = book.frames[found->second];
        // A \WObj names a work object; a KRL base may be any frame.
        return file.vendor == Vendor::abb && !frame.workObject ? nullptr : &frame;
    };
    const PlotFrameBook::Frame* frame = look(maps.local, file.module);
    if (frame == nullptr && file.vendor == Vendor::kuka) {
        frame = look(maps.robot, robotOf(maps, file.folder));
    }
    if (frame == nullptr && file.vendor == Vendor::abb) {
        frame = look(maps.task, file.folder);
    }
    if (frame == nullptr && file.vendor != Vendor::fanuc) {
        frame = look(maps.global, std::string(1, vendorLetter(file.vendor)));
    }
    return frame;
}

// The groups of one scene, by what makes two poses share one.
struct Groups {
    std::vector<PlotGroup> list;
    std::vector<std::string> scopes; // where a group's frame is named, to tell two apart
    std::unordered_map<std::string, std::uint32_t> byKey;

    std::uint32_t add(const std::string& key, PlotGroup group, std::string scope = {}) {
        const auto found = byKey.find(key);
        if (found != byKey.end()) {
            return found->second;
        }
        list.push_back(std::move(group));
        scopes.push_back(std::move(scope));
        byKey.emplace(key, static_cast<std::uint32_t>(list.size() - 1));
        return static_cast<std::uint32_t>(list.size() - 1);
    }
};

PlotGroup taughtGroup(const std::string& label, const char* note, bool world) {
    PlotGroup group;
    group.label = label;
    group.note = note;
    group.world = world;
    return group;
}

// The group of the poses that one file's motions teach in the frame it names.
std::uint32_t groupOfUse(const PlotFrameBook& book, const FrameMaps& maps,
                         const PlotFrameBook::FrameUse& use, Groups& groups) {
    const PlotFrameBook::File& file = book.files[use.file];
    const std::string key = plotNameKey(use.name);
    const std::string vendor(1, vendorLetter(file.vendor));
    const std::string_view world = worldNames[static_cast<int>(file.vendor)];
    if (key.empty()) {
        return groups.add(
            "none" + vendor,
            taughtGroup(file.vendor == Vendor::kuka ? "no base named" : "no frame named",
                        "the program names none before these motions: drawn as "
                        "written",
                        false));
    }
    if (key == world) {
        return groups.add("world" + vendor + key, taughtGroup(use.name, "the world", true));
    }
    const PlotFrameBook::Frame* frame = findFrame(book, maps, file, key);
    if (frame != nullptr && frame->fixed) {
        PlotGroup group = taughtGroup(use.name, "", true);
        group.note = "in world coordinates through its value at " + book.files[frame->file].shown +
                     ":" + std::to_string(frame->line);
        group.moved = true;
        std::copy(std::begin(frame->at), std::end(frame->at), group.at);
        std::copy(std::begin(frame->turn), std::end(frame->turn), group.turn);
        return groups.add("frame" + std::to_string(frame - book.frames.data()), std::move(group));
    }
    if (frame != nullptr) {
        return groups.add("loose" + std::to_string(frame - book.frames.data()),
                          taughtGroup(use.name,
                                      "a work object that the robot holds or a unit moves: "
                                      "drawn in its own coordinates",
                                      false));
    }
    const std::string scope =
        file.vendor == Vendor::kuka ? robotOf(maps, file.folder) : file.folder;
    return groups.add("unknown" + vendor + joinKey(scope, key),
                      taughtGroup(use.name,
                                  "its value is not in the files read: drawn in its own "
                                  "coordinates",
                                  false),
                      file.shownFolder);
}

PlotGroup groupOfKind(PlotGroupKind kind) {
    PlotGroup group;
    group.kind = kind;
    group.world = true;
    switch (kind) {
    case PlotGroupKind::unvisited:
        group.label = "visited by no motion";
        group.note = "no motion of the files read goes to these: drawn as written";
        group.world = false;
        break;
    case PlotGroupKind::bases:
        group.label = "bases and work objects";
        group.note = "drawn where their values put them in the world";
        break;
    case PlotGroupKind::tools:
        group.label = "tools and other frames";
        group.note = "drawn as written (a tool's values are relative to the flange)";
        group.world = false;
        break;
    case PlotGroupKind::taught:
        break;
    }
    return group;
}

// Runs of consecutive indices: first, count, first, count, ...
std::vector<std::uint32_t> runsOf(const std::vector<std::uint32_t>& indices) {
    std::vector<std::uint32_t> runs;
    for (const std::uint32_t index : indices) {
        if (!runs.empty() && runs[runs.size() - 2] + runs.back() == index) {
            ++runs.back();
        } else {
            runs.push_back(index);
            runs.push_back(1);
        }
    }
    return runs;
}

} // namespace

std::string plotNameKey(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (std::size_t k = 0; k < name.size(); ++k) {
        const char c = name[k];
        if (isBlankByte(c)) {
            continue;
        }
        // An index's leading zeros, where a digit follows.
        if (c == '0' && !key.empty() && (key.back() == '[' || key.back() == ',') &&
            k + 1 < name.size() && name[k + 1] >= '0' && name[k + 1] <= '9') {
            continue;
        }
        key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

PlotVerdict plotVerdictOf(const PoseRecord& pose, bool placed) {
    PlotVerdict verdict;
    verdict.use = PlotUse::leftOut;
    switch (pose.role) {
    case PoseRole::joint:
        verdict.reason = PlotLeftOut::joint;
        return verdict;
    case PoseRole::offset:
        verdict.reason = PlotLeftOut::offset;
        return verdict;
    case PoseRole::initialisation:
        verdict.reason = PlotLeftOut::initialisation;
        return verdict;
    case PoseRole::assignment:
        verdict.reason = PlotLeftOut::assignment;
        return verdict;
    case PoseRole::undecided:
        verdict.reason = PlotLeftOut::undecided;
        return verdict;
    case PoseRole::position:
        verdict.use = placed ? PlotUse::position : PlotUse::leftOut;
        return verdict;
    case PoseRole::frame:
        break;
    }
    const std::string key = plotNameKey(pose.name);
    for (const std::string_view prefix : loadPrefixes) {
        if (startsWith(key, prefix)) {
            verdict.reason = PlotLeftOut::load;
            return verdict;
        }
    }
    if (pose.nested) {
        verdict.reason = PlotLeftOut::member;
        return verdict;
    }
    bool base = false;
    if (pose.vendor == Vendor::kuka && !key.empty() && key[0] == '$') {
        const auto found =
            std::find_if(std::begin(systemFrames), std::end(systemFrames),
                         [&](const SystemFrame& frame) { return frame.name == key; });
        if (found == std::end(systemFrames)) {
            verdict.reason = PlotLeftOut::system;
            return verdict;
        }
        base = found->base;
    }
    if (!placed) {
        return verdict;
    }
    base = base || startsWith(key, "BASE_DATA") ||
           (pose.vendor == Vendor::abb && equalsNoCase(pose.type, "wobjdata"));
    verdict.use = base ? PlotUse::base : PlotUse::tool;
    return verdict;
}

void startPlotFile(PlotFrameBook& book, const InputFile& file) {
    PlotFrameBook::File entry;
    entry.vendor = file.vendor;
    if (file.standardInput) {
        entry.module = "-";
    } else {
        entry.folder = lowerPath(utf8FromPath(file.path.parent_path()));
        const std::string name = lowerPath(fileNameOf(file));
        const std::size_t dot = name.rfind('.');
        // KRL's .src and .dat of one name are one module.
        entry.module =
            entry.folder + '/' + (file.vendor == Vendor::kuka ? name.substr(0, dot) : name);
        entry.shown = file.shown;
        const std::size_t slash = file.shown.find_last_of("/\\");
        entry.shownFolder = slash == std::string::npos ? "" : file.shown.substr(0, slash);
        entry.configDat = name == "$config.dat";
    }
    book.files.push_back(std::move(entry));
    PlotFrameBook::Program program;
    program.file = static_cast<std::uint32_t>(book.files.size() - 1);
    book.programs.push_back(std::move(program));
    book.inlinePoses.clear();
    book.waiting.clear();
}

void notePlotFrame(PlotFrameBook& book, const PoseRecord& pose) {
    Transform m;
    if (pose.role != PoseRole::frame || pose.nested || pose.name.empty() ||
        !transformOfRecord(pose, m)) {
        return;
    }
    PlotFrameBook::Frame frame;
    frame.file = static_cast<std::uint32_t>(book.files.size() - 1);
    frame.line = pose.line;
    frame.key = plotNameKey(pose.name);
    const QuatPose q = quatPoseFromTransform(m);
    const double at[3] = {q.x, q.y, q.z};
    const double turn[4] = {q.q1, q.q2, q.q3, q.q4};
    std::copy(std::begin(at), std::end(at), frame.at);
    std::copy(std::begin(turn), std::end(turn), frame.turn);
    frame.workObject = pose.vendor == Vendor::abb && equalsNoCase(pose.type, "wobjdata");
    // Its uframe is relative to the tool or to a unit that moves, not to the world.
    frame.fixed = !truthOf(pose, "robhold", false) && truthOf(pose, "ufprog", true);
    book.frames.push_back(std::move(frame));
}

void notePlotPose(PlotFrameBook& book, const PoseRecord& pose, const PlotPose& drawn, PlotUse use) {
    const auto index = static_cast<std::uint32_t>(book.drawn.size());
    const auto file = static_cast<std::uint32_t>(book.files.size() - 1);
    PlotFrameBook::Drawn entry;
    entry.placed = drawn.placed;
    for (int axis = 0; axis < 3; ++axis) {
        entry.raw[axis] = static_cast<float>(drawn.position[axis]);
        entry.placed = entry.placed && std::isfinite(entry.raw[axis]);
    }
    entry.use = use;
    entry.file = file;
    if (use == PlotUse::position && pose.vendor == Vendor::fanuc) {
        const std::string frame = userFrameOf(pose);
        if (!frame.empty()) {
            entry.declared = internFrameUse(book, file, frame);
        }
    }
    book.drawn.push_back(entry);
    if (use != PlotUse::position) {
        return;
    }
    if (pose.name.empty()) {
        book.inlinePoses.emplace_back(pose.offset, index);
        return;
    }
    const std::string key = plotNameKey(pose.name);
    book.localNames.emplace(joinKey(book.files.back().module, key), index);
    if (pose.vendor != Vendor::fanuc) {
        book.globalNames.emplace(joinKey(std::string(1, vendorLetter(pose.vendor)), key), index);
    }
}

void notePlotMotion(PlotFrameBook& book, const MotionVisit& visit) {
    const auto file = static_cast<std::uint32_t>(book.files.size() - 1);
    PlotFrameBook::Program& program = book.programs.back();
    PlotFrameBook::Visit entry;
    // A program names one frame for many motions in a row.
    if (!program.visits.empty() &&
        book.frameUses[static_cast<std::size_t>(program.visits.back().frame)].name == visit.frame) {
        entry.frame = program.visits.back().frame;
    } else {
        entry.frame = internFrameUse(book, file, visit.frame);
    }
    if (visit.target.empty()) {
        book.waiting.emplace_back(program.visits.size(), visit.offset);
    } else {
        const PlotFrameBook::File& own = book.files[file];
        const std::string key = plotNameKey(visit.target);
        std::string local = joinKey(own.module, key);
        const auto found = book.targetIds.find(local);
        if (found != book.targetIds.end()) {
            entry.target = found->second;
        } else {
            entry.target = static_cast<std::uint32_t>(book.targets.size());
            PlotFrameBook::Target target;
            target.local = local;
            if (own.vendor != Vendor::fanuc) {
                target.global = joinKey(std::string(1, vendorLetter(own.vendor)), key);
            }
            book.targets.push_back(std::move(target));
            book.targetIds.emplace(std::move(local), entry.target);
        }
        entry.named = true;
    }
    program.visits.push_back(entry);
}

void endPlotFile(PlotFrameBook& book) {
    std::vector<std::pair<std::uint64_t, std::uint32_t>>& poses = book.inlinePoses;
    if (!std::is_sorted(poses.begin(), poses.end())) {
        std::sort(poses.begin(), poses.end());
    }
    PlotFrameBook::Program& program = book.programs.back();
    for (const auto& [visit, offset] : book.waiting) {
        const auto found = std::lower_bound(poses.begin(), poses.end(), offset,
                                            [](const std::pair<std::uint64_t, std::uint32_t>& pose,
                                               std::uint64_t at) { return pose.first < at; });
        if (found != poses.end() && found->first == offset) {
            program.visits[visit].target = found->second;
            program.visits[visit].resolved = true;
        }
    }
    poses.clear();
    book.waiting.clear();
}

void finishPlotFrames(PlotFrameBook& book, PlotScene& scene) {
    const FrameMaps maps = frameMaps(book);
    Groups groups;
    std::vector<std::int32_t> useGroups(book.frameUses.size(), -1);
    const auto groupOf = [&](std::int32_t use) {
        std::int32_t& group = useGroups[static_cast<std::size_t>(use)];
        if (group < 0) {
            group = static_cast<std::int32_t>(
                groupOfUse(book, maps, book.frameUses[static_cast<std::size_t>(use)], groups));
        }
        return static_cast<std::uint32_t>(group);
    };

    // The motions in the order they run: each point's first frame, and each
    // program's path through the drawn positions.
    std::vector<std::uint32_t> visitGroups(book.drawn.size(), UINT32_MAX);
    std::vector<bool> counted(book.drawn.size(), false);
    std::vector<std::uint32_t> path;
    for (PlotFrameBook::Program& program : book.programs) {
        path.clear();
        for (PlotFrameBook::Visit& visit : program.visits) {
            if (visit.named) {
                const PlotFrameBook::Target& target = book.targets[visit.target];
                const auto local = book.localNames.find(target.local);
                const auto global = target.global.empty() ? book.globalNames.end()
                                                          : book.globalNames.find(target.global);
                visit.resolved = local != book.localNames.end() || global != book.globalNames.end();
                visit.target = local != book.localNames.end()     ? local->second
                               : global != book.globalNames.end() ? global->second
                                                                  : 0;
            }
            if (!visit.resolved) {
                continue;
            }
            PlotFrameBook::Drawn& drawn = book.drawn[visit.target];
            const std::uint32_t group = groupOf(visit.frame);
            if (drawn.frame < 0) {
                drawn.frame = visit.frame;
                visitGroups[visit.target] = group;
            } else if (visitGroups[visit.target] != group && !counted[visit.target] &&
                       drawn.declared < 0) {
                // (A FANUC position carries its UF: its motions' UFRAME_NUM does not move it.)
                counted[visit.target] = true;
                ++scene.visitedTwice;
            }
            path.push_back(visit.target);
        }
        if (path.size() >= 2) {
            scene.paths.push_back(PlotPath{program.file, runsOf(path)});
        }
        program.visits = {};
    }

    // Each drawn pose's group: FANUC's own UF (F: the frame of its motion),
    // the frame of its first motion, or its kind.
    scene.poseGroups.resize(book.drawn.size());
    for (std::size_t k = 0; k < book.drawn.size(); ++k) {
        const PlotFrameBook::Drawn& drawn = book.drawn[k];
        std::uint32_t group = 0;
        if (drawn.use == PlotUse::base) {
            group = groups.add("bases", groupOfKind(PlotGroupKind::bases));
        } else if (drawn.use == PlotUse::tool) {
            group = groups.add("tools", groupOfKind(PlotGroupKind::tools));
        } else if (drawn.declared >= 0 &&
                   (drawn.frame < 0 ||
                    plotNameKey(book.frameUses[static_cast<std::size_t>(drawn.declared)].name) !=
                        "UFF")) {
            group = groupOf(drawn.declared);
        } else if (drawn.frame >= 0) {
            group = groupOf(drawn.frame);
        } else {
            group = groups.add("unvisited", groupOfKind(PlotGroupKind::unvisited));
        }
        scene.poseGroups[k] = group;
        ++groups.list[group].count;
    }

    // The side list and the legend: frames the motions name first, by name;
    // then what no motion visits, the bases, the tools.
    // A frame that only points drawn in another frame visit has no group.
    std::vector<std::uint32_t> order;
    for (std::uint32_t k = 0; k < groups.list.size(); ++k) {
        if (groups.list[k].count > 0) {
            order.push_back(k);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const PlotGroup& x = groups.list[a];
        const PlotGroup& y = groups.list[b];
        return x.kind != y.kind ? x.kind < y.kind
                                : x.kind == PlotGroupKind::taught && x.label < y.label;
    });
    std::vector<std::uint32_t> place(groups.list.size());
    for (std::uint32_t k = 0; k < order.size(); ++k) {
        place[order[k]] = k;
        scene.groups.push_back(groups.list[order[k]]);
    }
    for (std::uint32_t k = 0; k < order.size(); ++k) {
        // Two frames of one name (UF 1 of two controllers): say where each is.
        PlotGroup& group = scene.groups[k];
        const std::string& scope = groups.scopes[order[k]];
        const auto same =
            std::count_if(scene.groups.begin(), scene.groups.end(), [&](const PlotGroup& other) {
                return other.kind == group.kind && other.label == group.label;
            });
        if (same > 1 && !scope.empty()) {
            group.label += " in " + scope;
        }
    }
    for (std::uint32_t& group : scene.poseGroups) {
        group = place[group];
    }

    // The bounds of every pose where it is drawn, the world's origin included.
    std::fill(std::begin(scene.low), std::end(scene.low), 0.0);
    std::fill(std::begin(scene.high), std::end(scene.high), 0.0);
    for (std::size_t k = 0; k < book.drawn.size(); ++k) {
        const PlotFrameBook::Drawn& drawn = book.drawn[k];
        if (!drawn.placed) {
            continue;
        }
        double p[3] = {drawn.raw[0], drawn.raw[1], drawn.raw[2]};
        const PlotGroup& group = scene.groups[scene.poseGroups[k]];
        if (group.moved) {
            const double own[3] = {p[0], p[1], p[2]};
            throughFrame(group, own, p);
        }
        for (int axis = 0; axis < 3; ++axis) {
            scene.low[axis] = std::min(scene.low[axis], p[axis]);
            scene.high[axis] = std::max(scene.high[axis], p[axis]);
        }
    }
    scene.drawnCount = book.drawn.size();
}

void placeScenePoses(PlotScene& scene) {
    for (std::size_t k = 0; k < scene.poses.size() && k < scene.poseGroups.size(); ++k) {
        const PlotGroup& group = scene.groups[scene.poseGroups[k]];
        PlotPose& pose = scene.poses[k];
        if (!group.moved) {
            continue;
        }
        const double own[3] = {pose.position[0], pose.position[1], pose.position[2]};
        throughFrame(group, own, pose.position);
        const double turn[4] = {pose.rotation[0], pose.rotation[1], pose.rotation[2],
                                pose.rotation[3]};
        multiplyTurns(group.turn, turn, pose.rotation);
    }
}
