#pragma once

#include "robotfiles/krl/krl_statement.h"
#include "robotfiles/program_model.h"

#include <string>
#include <string_view>
#include <unordered_map>

// What a KRL program has put in force for its motions, line by line: the
// path and axis speeds, the approximation distances and percentages, the
// base and the tool, and the inline forms' data sets. KRL keeps these in
// system variables that a motion reads when it starts, set by plain
// assignments ($VEL.CP = 0.25), by KUKA's BAS helper (BAS(#VEL_PTP, 50)),
// or by an inline form (PDAT_ACT = PPDAT1, then BAS(#PTP_PARAMS, 100)
// copies the data set into them). A value the program never sets, or sets
// to something other than a number, is unknown: the motion then has no
// speed, blending, base or tool of its own, and a translation keeps or
// refuses it rather than guessing the controller's default.

struct KrlValue {
    bool known = false;
    float value = 0.0f;
};

// The data sets of the inline forms, declared in the .dat.
struct KrlFrameData { // FDAT
    KrlValue tool;
    KrlValue base;
    bool tcpIpo = false; // IPO_FRAME #TCP: the tool stands, the robot moves the work
};
struct KrlPtpData { // PDAT
    KrlValue vel;
    KrlValue apoDist;
    bool cdisMode = false; // APO_MODE #CDIS: APO_DIST is a distance, not a percentage
};
struct KrlCpData { // LDAT
    KrlValue vel;
    KrlValue apoDist;
    bool orientationVaries = true; // ORI_TYP #VAR
};

struct KrlInlineData {
    std::unordered_map<std::string, KrlFrameData> frames; // by krlNameKey
    std::unordered_map<std::string, KrlPtpData> ptp;
    std::unordered_map<std::string, KrlCpData> cp;
};

struct KrlSettings {
    KrlValue velCp;      // $VEL.CP, m/s
    KrlValue velAxis[6]; // $VEL_AXIS[1..6], percent
    KrlValue cdis;       // $APO.CDIS, mm
    KrlValue cptp;       // $APO.CPTP, percent
    KrlValue cvel;       // $APO.CVEL, percent
    KrlValue cori;       // $APO.CORI, degrees
    KrlValue base;       // BASE_DATA number, 0 for $WORLD
    KrlValue tool;       // TOOL_DATA number, 0 for $NULLFRAME
    // $ORI_TYPE #VAR (the controller's default): the orientation turns from
    // the start's to the target's, as on every other controller. Known
    // false only when the program sets #CONSTANT or #JOINT.
    bool orientationVaries = true;
    std::string fdatAct, pdatAct, ldatAct; // by krlNameKey
};

// Nothing known, as at the start of a routine: what a caller left in force
// is not this routine's to rely on.
void resetKrlSettings(KrlSettings& settings);

// A declaration of an inline form's data set: "DECL FDAT FP1={TOOL_NO 1,...}",
// also without DECL or with GLOBAL. False for any other line.
bool readKrlInlineData(std::string_view text, KrlInlineData& data);

enum class KrlSettingKind {
    none,            // no setting: another statement
    setting,         // applied; the line carries nothing else
    frameDefinition, // assigns $BASE or $TOOL something other than a numbered frame: kept
    unreadable,      // sets a motion value to what is no number: kept, the value unknown
};

// Applies a line that sets what motions use. `conditional`: the line runs
// only sometimes (inside a kept branch or loop), so what it sets becomes
// unknown rather than its value.
KrlSettingKind applyKrlSetting(KrlSettings& settings, const KrlInlineData& data,
                               std::string_view text, const KrlLine& line, bool conditional);

// A motion's speed, blending, base and tool from what is in force.
// `approximation` is the word after its points: C_PTP, C_DIS, C_VEL, C_ORI
// or empty for an exact stop.
void krlMotionValues(const KrlSettings& settings, std::string_view approximation, Motion& motion);
