#pragma once

#include "robotfiles/program_model.h"

#include <span>

// The one table of rules from one vendor's meaning to another's. Every
// statement a translation looks at is decided by rules of this table, and
// the report prints the name of the rule that decided it.

enum class RuleId {
    blank,
    structure,
    routine,
    dataDeclaration,
    motionSetting,
    comment,
    keptConstruct,
    pointDeclaration,
    pointWithMotion,
    jointTarget,
    externalAxes,
    pointUntaught,
    pointUnknown,
    linearMotion,
    circularMotion,
    jointMotionCartesian,
    jointMotionNeedsConfig,
    configurationPlaceholder,
    pathSpeed,
    pathSpeedRounded,
    jointSpeedPercent,
    jointSpeedPercentRounded,
    jointSpeedReference,
    jointSpeedNeedsReference,
    speedUnsupported,
    exactStop,
    zoneDistance,
    blendMap,
    blendDefault,
    blendUnsupported,
    frameMap,
    frameMissing,
    worldFrame,
    frameUnknown,
    toolMap,
    toolMissing,
    toolUnknown,
    waitTime,
    waitTimeRounded,
    digitalOutput,
    pulseRounded,
    pulseLengthUnknown,
    waitInput,
    signalMap,
    signalUnmapped,
    signalMismatch,
    ioNearBlend,
    call,
    sameVendor,
    nameAdapted,
    targetLimit,
};

// What a rule does with what it matches. A statement takes the strongest
// outcome of the rules applied to it, kept above refused: a line kept as a
// comment is not translated, so a missing tool map cannot refuse it.
enum class RuleOutcome { exact, approximated, refused, kept, structural, blank };

struct Rule {
    RuleId id;
    const char* name;   // printed in the report: "zone-distance"
    const char* source; // the source construct, in every vendor's words
    const char* target; // what the target gets
    RuleOutcome outcome;
    // The warning the rule puts on the line (none for most exact rules).
    WarningCode warning;
    const char* reason; // why it is exact, approximated, kept or refused
};

std::span<const Rule> allRules();
const Rule& rule(RuleId id);
const char* ruleOutcomeName(RuleOutcome outcome); // "exact", "approximated", ...
