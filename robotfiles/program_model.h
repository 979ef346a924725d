#pragma once

#include "math/transform.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A robot program as a translation sees it, whichever vendor wrote it: the
// program, its routines, and each routine a run of statements that keep the
// source lines they came from. It knows no vendor's syntax: a reader turns
// text into these records, a writer turns them into another vendor's text.
// Values keep their vendor's meaning (a KUKA C_PTP percentage is not a
// FANUC CNT), so that the rules between vendors can say what carries over.
//
// Nothing here holds a whole routine: a reader hands statements one at a
// time and a writer appends each to its output, so a program of any size is
// translated in memory that does not grow with it. Only points are held, in
// a table by name, because a motion names its point and the declaration may
// stand anywhere.

// ---------------------------------------------------------------- where from

struct SourceSpan {
    std::uint32_t file = 0; // index into ProgramInfo::files
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0; // the same as firstLine for a one-line statement
};

struct ProgramInfo {
    std::string name;
    Vendor vendor = Vendor::kuka;
    // The files as comments and the report name them.
    std::vector<std::string> files;
    // The routine that starting the program runs (KRL: the DEF named as the
    // file; RAPID: main; FANUC: the program itself). Empty: the first one.
    std::string mainRoutine;
};

// ---------------------------------------------------------------- warnings

// Short, stable words that the report, the comments written into target
// programs and the documentation share. Readers name with them why they kept
// a line; the rules add the others.
enum class WarningCode : std::uint8_t {
    none,
    configPlaceholder,
    nameAdapted,
    blendApproximated,
    blendDefault,
    jointSpeedApproximated,
    jointSpeedRounded,
    pathSpeedRounded,
    waitRounded,
    pulseRounded,
    ioNearBlend,
    signalUnmapped,
    jointTargetKept,
    externalAxesKept,
    pointUntaughtKept,
    pointUnknownKept,
    speedKept,
    blendKept,
    pulseKept,
    relativeMotionKept,
    splineKept,
    circleAngleKept,
    arcKept,
    positionRegisterKept,
    logicKept,
    variableKept,
    timeoutKept,
    triggerKept,
    technologyKept,
    frameDefinitionKept,
    callArgumentsKept,
    statementKept,
};

struct WarningInfo {
    WarningCode code;
    const char* word;    // "config-placeholder"
    const char* meaning; // one sentence for the documentation and --help
};

std::span<const WarningInfo> allWarnings();
const char* warningWord(WarningCode code);

// ---------------------------------------------------------------- points

enum class PointStatus {
    ok,
    joint,    // axis values, not a Cartesian pose
    untaught, // never taught (FANUC "********", RAPID 9E9 in the pose)
    partial,  // members missing
    notUnit,  // a quaternion that is no rotation
};

// The pose as the source wrote it. The members are those of its notation:
// KUKA x y z a b c, ABB x y z q1 q2 q3 q4, FANUC x y z w p r, each the float
// read, so that a target of the same notation prints every digit read; the
// matrix is what every other notation is worked out from.
struct PoseValues {
    Vendor notation = Vendor::kuka;
    float values[7] = {};
    Transform matrix;
};

struct Point {
    // The name a target gives it (already adapted after translation); empty
    // for a pose written in the motion itself.
    std::string name;
    PointStatus status = PointStatus::ok;
    PoseValues pose;
    // The source's arm configuration as written (S and T, robconf, CONFIG),
    // never carried over, only kept in a comment.
    std::string config;
    // External axes or another motion group with the arm: not translated.
    bool externalAxes = false;
};

// Sets the members and works out the matrix: 6 values for KUKA and FANUC,
// 7 for ABB. An ABB quaternion is normalised as the window does; one that
// cannot be (zero) leaves the status notUnit. False for a wrong count.
bool setPose(Point& point, Vendor notation, std::span<const float> values);

// x y z a b c of the rotation Rz(a) Ry(b) Rx(c), as read, for a pose written
// with Euler angles (KUKA A B C and FANUC R P W are the same triple, so no
// arithmetic). False for a quaternion.
bool eulerAsRead(const PoseValues& pose, float out[6]);
// x y z q1 q2 q3 q4 as read, for a pose written with a quaternion.
bool quaternionAsRead(const PoseValues& pose, float out[7]);

// The points of one program by the reader's key (a KRL or RAPID name, a
// FANUC P[n]). KRL and RAPID names are case-insensitive: keys are compared
// with ASCII letters folded to upper case.
struct PointTable {
    std::unordered_map<std::string, Point> points;
};

std::string pointKey(std::string_view name);
void addPoint(PointTable& table, std::string_view key, const Point& point);
const Point* findPoint(const PointTable& table, std::string_view key);

// ---------------------------------------------------------------- motions

enum class MotionKind { joint, linear, circular };

// How fast, in the vendor's own terms.
enum class SpeedKind {
    unset,        // the source sets none for this motion
    path,         // TCP path speed: KRL $VEL.CP, FANUC mm/sec or cm/min
    jointPercent, // % of every axis' maximum: KRL $VEL_AXIS / BAS(#VEL_PTP), FANUC J n%
    abbData,      // an ABB speeddata: predefined vN, vmax or the program's own
    other,        // anything else (time-based, registers): kept, never guessed
};
enum class PathUnit { metresPerSecond, millimetresPerSecond, centimetresPerMinute };

struct Speed {
    SpeedKind kind = SpeedKind::unset;
    float value = 0.0f; // path: in its unit, as written; jointPercent: percent
    PathUnit unit = PathUnit::millimetresPerSecond;
    // abbData: its name, and its four values when the program declares them
    // (or once a rule has looked a predefined one up): v_tcp mm/s, v_ori
    // deg/s, v_leax mm/s, v_reax deg/s.
    std::string name;
    bool hasData = false;
    bool predefined = false; // a writer uses the name and declares nothing
    float data[4] = {};
    std::string text; // other: the source's words, for a comment
};

// A path speed in mm/s, from whatever unit it was written in.
double pathMillimetresPerSecond(const Speed& speed);

// Where a motion may round its corner, in the vendor's own terms.
enum class BlendKind {
    stop,            // KRL without approximation, ABB fine, FANUC FINE
    kukaDistance,    // C_DIS with $APO.CDIS mm
    kukaPtp,         // C_PTP with $APO.CPTP %
    kukaVelocity,    // C_VEL with $APO.CVEL %
    kukaOrientation, // C_ORI with $APO.CORI degrees
    abbZone,         // zN or the program's own zonedata
    fanucCnt,        // CNTn
    other,           // anything else (FANUC CR, registers): kept, never guessed
};

struct Blend {
    BlendKind kind = BlendKind::stop;
    float value = 0.0f; // the KUKA or FANUC number
    // abbZone: its name and, when declared (or looked up), its seven values:
    // finep (1 or 0), pzone_tcp, pzone_ori, pzone_eax mm, zone_ori deg,
    // zone_leax mm, zone_reax deg.
    std::string name;
    bool hasData = false;
    bool predefined = false;
    float data[7] = {};
    std::string text; // other: the source's words
};

// A tool or a frame by reference, never by value: KUKA base or tool number,
// ABB work object or tool name, FANUC user frame or tool number.
struct Reference {
    bool known = false; // false: the program does not say
    int number = 0;
    std::string name;
};

// A motion's target or circle point: by the point table's key, or written
// in the motion itself (key empty). After translation `point` holds the
// resolved point either way, with the target's name.
struct MotionPoint {
    std::string key;
    Point point;
};

struct Motion {
    MotionKind kind = MotionKind::linear;
    MotionPoint target;
    MotionPoint via; // circular only: KUKA's auxiliary, ABB's circle, FANUC's via point
    Speed speed;
    Blend blend;
    Reference frame;
    Reference tool;
};

// ---------------------------------------------------------------- statements

enum class StatementKind {
    blank,
    structural,   // the source's own frame: headers, DEF/END, /ATTR, folds around a motion
    routineStart, // name, main
    routineEnd,
    comment,          // comment
    pointDeclaration, // key, point
    motion,
    waitTime,      // seconds
    digitalOutput, // signal, state, pulse, seconds (<0: the controller's default)
    waitInput,     // signal, state; no time-out
    call,          // name; no arguments
    kept,          // any other line: text, keptCode
};

// What a structural line is, for the rule the report names: the file's own
// frame, data whose values travel with the motions that use them (RAPID
// speeddata and zonedata, KRL FDAT, PDAT and LDAT), or a setting that the
// motions after it carry (KRL $VEL, $APO, $BASE, $TOOL, BAS(...), FANUC
// UFRAME_NUM and UTOOL_NUM, RAPID ConfJ and ConfL).
enum class StructuralKind { frame, data, setting };

// One record for every kind, reused from statement to statement; each kind
// reads only its own fields.
struct Statement {
    StatementKind kind = StatementKind::blank;
    SourceSpan place;
    // The source lines verbatim, joined by '\n', without line endings: what a
    // kept statement becomes in the target, comment by comment.
    std::string text;
    std::string name;  // routine, callee
    bool main = false; // routineStart: the routine starting the program runs
    // comment: its text without the comment mark; routineStart after
    // translation: the source's name of the routine.
    std::string comment;
    std::string key; // pointDeclaration
    Point point;     // pointDeclaration
    Motion motion;
    double seconds = -1.0;
    std::string signal; // the vendor's word: $OUT[3], doGrip, DO[3]
    bool state = true;
    bool pulse = false;
    WarningCode keptCode = WarningCode::statementKept;
    StructuralKind structural = StructuralKind::frame;
};

// ---------------------------------------------------------------- outcome

// What became of a source line, as the report says it.
enum class Disposition { translated, approximated, kept, structural, blank };

const char* dispositionName(Disposition disposition);

// A warning on a target line, with the source value it replaces (empty when
// there is none to show).
struct Note {
    WarningCode code = WarningCode::none;
    std::string was;
};

// What a writer needs beyond the statement: how it was translated and the
// notes for its trailing comment. A kept statement's first note names why.
struct Annotation {
    Disposition disposition = Disposition::translated;
    std::vector<Note> notes;
};
