#include "translation/rules.h"

namespace {

using O = RuleOutcome;
using W = WarningCode;

// In the order of RuleId; rule() checks it.
constexpr Rule rules[] = {
    {RuleId::blank, "blank", "an empty line", "an empty line (none in FANUC /MN)", O::blank,
     W::none, "layout only"},
    {RuleId::structure, "structure",
     "the source's own frame: &ACCESS/&REL, DEFDAT/ENDDAT, MODULE/ENDMODULE, /PROG, /ATTR, /MN, "
     "/POS, /END, folds around a translated statement, inline-form data (FDAT, PDAT, LDAT)",
     "the target writes its own frame", O::structural, W::none,
     "each vendor's file frame says nothing the model needs; what the inline-form data say travels "
     "with the motion"},
    {RuleId::routine, "routine", "DEF/END, PROC/ENDPROC, a FANUC program",
     "DEF/END, PROC/ENDPROC, one FANUC .LS program per routine; the routine a start runs becomes "
     "the target's entry (KRL: the file's name, RAPID: main, FANUC: the program)",
     O::structural, W::none, "routines without parameters are the same on every controller"},
    {RuleId::dataDeclaration, "data-declaration",
     "RAPID speeddata and zonedata declarations, KRL FDAT, PDAT and LDAT",
     "declared where a motion uses them (RAPID) or turned into the target's settings",
     O::structural, W::none, "their values travel with the motions that use them"},
    {RuleId::motionSetting, "motion-setting",
     "KRL $VEL.CP, $VEL_AXIS, $APO, $BASE, $TOOL, BAS(...), PDAT_ACT/LDAT_ACT/FDAT_ACT; FANUC "
     "UFRAME_NUM, UTOOL_NUM; RAPID ConfJ, ConfL",
     "the settings the target writes before each motion that needs them", O::structural, W::none,
     "the reader resolves what is in force at each motion, so the values travel with the motions; "
     "a setting inside a kept branch makes the value unknown for the motions after it"},
    {RuleId::comment, "comment", "; text, ! text, !text ;", "the target's comment", O::exact,
     W::none, "text only"},
    {RuleId::keptConstruct, "kept-construct",
     "relative and offset motions, splines, CA, FANUC A, position registers, variables, "
     "expressions, branches, loops, labels, jumps and every line inside them, time-outs, "
     "interrupts, triggers, technology, tool/base/work-object definitions, anything unread",
     "a comment with the warning code and the source file:line", O::kept, W::none,
     "no rule carries its meaning over; a motion taken out of its IF would change when it runs, "
     "and a translation never writes a controller's frame or tool"},
    {RuleId::pointDeclaration, "point-declaration", "E6POS/POS/FRAME in a .dat, robtarget data",
     "DECL POS without S and T in the .dat, CONST robtarget with robconf [0,0,0,0]", O::exact,
     W::none,
     "the same 4x4 matrix in the target notation: KRL and RAPID print every digit of the float "
     "read "
     "(a converted value as the shortest decimal of its float)"},
    {RuleId::pointWithMotion, "point-with-motion", "a declared point, for a FANUC target",
     "a P[n] in /POS of each program whose motions use it, the name as its comment", O::structural,
     W::none, "FANUC keeps positions with the programs that move to them"},
    {RuleId::jointTarget, "joint-target",
     "PTP {A1 ...}, E6AXIS, MoveAbsJ, jointtarget, J1 = ... deg", "a comment", O::kept,
     W::jointTargetKept, "axis values, their zeros and signs belong to one robot model"},
    {RuleId::externalAxes, "external-axes", "points with external axes or other motion groups",
     "a comment", O::kept, W::externalAxesKept, "the target cell's axes are not known"},
    {RuleId::pointUntaught, "point-untaught", "untaught, incomplete or non-unit points",
     "a comment", O::kept, W::pointUntaughtKept, "there is no pose to carry over"},
    {RuleId::pointUnknown, "point-unknown", "a motion to a point the program read does not declare",
     "a comment", O::kept, W::pointUnknownKept,
     "its pose is not known (declared in another file or computed)"},
    {RuleId::linearMotion, "linear-motion", "LIN, MoveL, L to a Cartesian point", "LIN, MoveL, L",
     O::exact, W::none, "a straight line to the same pose in the same frame with the same tool"},
    {RuleId::circularMotion, "circular-motion", "CIRC (without CA), MoveC, C to Cartesian points",
     "CIRC aux, end; MoveC circle, to; C P[via] : P[end]", O::exact, W::none,
     "all three define the circle by start, auxiliary and end point"},
    {RuleId::jointMotionCartesian, "joint-motion-cartesian",
     "PTP, MoveJ, J to a Cartesian point, with --config controller", "PTP, MoveJ, J", O::exact,
     W::none,
     "the pose carries over; the arm configuration is the controller's choice from the current "
     "posture (see configuration-placeholder)"},
    {RuleId::jointMotionNeedsConfig, "joint-motion-needs-config",
     "PTP, MoveJ, J to a Cartesian point without --config controller", "refused", O::refused,
     W::none,
     "which arm configuration a joint move reaches is decided by S/T, robconf or CONFIG, which "
     "describe one robot model's joints and never carry over"},
    {RuleId::configurationPlaceholder, "configuration-placeholder",
     "S and T, robconf, CONFIG of every point",
     "KRL without S and T; ABB [0,0,0,0] with ConfJ \\Off and ConfL \\Off; FANUC 'N U T, 0, 0, 0'",
     O::exact, W::configPlaceholder,
     "the source's configuration stays in a comment; the target's placeholder lets the controller "
     "choose, which must be checked on the target robot"},
    {RuleId::pathSpeed, "path-speed", "$VEL.CP m/s, speeddata v_tcp mm/s, mm/sec, cm/min",
     "$VEL.CP m/s, vN or an own speeddata [v,500,5000,1000], mm/sec or cm/min", O::exact, W::none,
     "the same TCP speed in another unit; orientation and external-axis speeds stay the "
     "controller's own"},
    {RuleId::pathSpeedRounded, "path-speed-rounded",
     "a path speed that is no whole mm/sec or cm/min", "FANUC's nearest whole mm/sec",
     O::approximated, W::pathSpeedRounded, "FANUC takes whole numbers only"},
    {RuleId::jointSpeedPercent, "joint-speed-percent",
     "KUKA $VEL_AXIS / BAS(#VEL_PTP) %, FANUC J n%", "the same percent", O::exact, W::none,
     "both are the percentage of each axis' maximum (of another robot's axes)"},
    {RuleId::jointSpeedPercentRounded, "joint-speed-percent-rounded",
     "a KUKA percentage that is no whole number from 1 to 100, for FANUC", "the nearest of 1..100",
     O::approximated, W::jointSpeedRounded, "FANUC takes whole percents from 1 to 100"},
    {RuleId::jointSpeedReference, "joint-speed-reference",
     "a joint speed % to ABB, or an ABB MoveJ speed to KUKA or FANUC, with --joint-speed MM_S",
     "v = % x MM_S / 100 (whole mm/s, vN where one has it), or % = v / MM_S x 100 (whole, 1..100)",
     O::approximated, W::jointSpeedApproximated,
     "ABB scales a joint move by a TCP speed; a percentage of axis speed has no physical relation "
     "to it: MM_S is the user's reference"},
    {RuleId::jointSpeedNeedsReference, "joint-speed-needs-reference",
     "a joint speed to or from ABB without --joint-speed", "refused", O::refused, W::none,
     "there is no relation to guess; ABB to ABB needs none"},
    {RuleId::speedUnsupported, "speed-unsupported",
     "time-based speeds, registers, vmax as a path speed, undeclared speeddata, no speed set",
     "a comment", O::kept, W::speedKept, "no unit conversion gives it"},
    {RuleId::exactStop, "exact-stop", "KRL without approximation, fine, FINE",
     "KRL without approximation, fine, FINE", O::exact, W::none, "a stop is a stop"},
    {RuleId::zoneDistance, "zone-distance", "KUKA C_DIS with $APO.CDIS mm, ABB zone pzone_tcp mm",
     "C_DIS with $APO.CDIS = mm; zN where one has that distance (z0 0.3 mm), else an own zonedata "
     "[FALSE,d,1.5d,1.5d,0.15d,1.5d,0.15d]",
     O::exact, W::none,
     "both start rounding that far from the point and both shrink to half a segment; the curves "
     "differ within that distance"},
    {RuleId::blendMap, "blend-map", "FANUC CNT, KUKA C_PTP/C_VEL/C_ORI, and distances for FANUC",
     "the --blend entry's target", O::approximated, W::blendApproximated,
     "speed- and percentage-based rounding has no physical equivalent: the user's table decides"},
    {RuleId::blendDefault, "blend-default", "the same, with no --blend entry that fits",
     "the target's smallest blending: ABB z1, KUKA C_DIS with $APO.CDIS = 1, FANUC CNT1",
     O::approximated, W::blendDefault, "the smallest rounding keeps closest to the taught path"},
    {RuleId::blendUnsupported, "blend-unsupported", "undeclared zonedata, FANUC CR, registers",
     "a comment", O::kept, W::blendKept, "its size is not known"},
    {RuleId::frameMap, "frame-map", "KUKA base n, ABB work object, FANUC UF n, through --frame",
     "$BASE = BASE_DATA[n]; \\WObj:=name; UFRAME_NUM=n", O::exact, W::none,
     "the same frame taught on the same fixture holds the same numbers"},
    {RuleId::frameMissing, "frame-missing", "a frame not in --frame", "refused", O::refused,
     W::none, "frames are carried by reference, never guessed"},
    {RuleId::worldFrame, "world-frame", "KUKA base 0, ABB wobj0, FANUC UF 0 not in --frame",
     "refused", O::refused, W::none,
     "the robots' world origins are not the same point; map it explicitly (--frame 0=...)"},
    {RuleId::frameUnknown, "frame-unknown", "a motion whose frame the program does not set",
     "refused", O::refused, W::none, "the pose means nothing without its frame"},
    {RuleId::toolMap, "tool-map", "KUKA tool n, ABB tool, FANUC UT n, through --tool",
     "$TOOL = TOOL_DATA[n]; the tool argument; UTOOL_NUM=n", O::exact, W::none,
     "a TCP frame by reference; tool values differ between vendors (+X or +Z working direction)"},
    {RuleId::toolMissing, "tool-missing", "a tool not in --tool", "refused", O::refused, W::none,
     "tools are carried by reference, never guessed"},
    {RuleId::toolUnknown, "tool-unknown", "a motion whose tool the program does not set", "refused",
     O::refused, W::none, "the pose means nothing without its tool"},
    {RuleId::waitTime, "wait-time", "WAIT SEC t, WaitTime t, WAIT t(sec)",
     "WAIT SEC t, WaitTime t, WAIT t(sec)", O::exact, W::none, "seconds are seconds"},
    {RuleId::waitTimeRounded, "wait-time-rounded", "a wait finer than 0.01 s, for FANUC",
     "WAIT t(sec) to 0.01 s", O::approximated, W::waitRounded, "FANUC waits in hundredths"},
    {RuleId::digitalOutput, "digital-output",
     "$OUT[n]=, PULSE(...), SetDO, PulseDO, DO[n]=ON/OFF/PULSE with --signal",
     "the same in the target's words", O::exact, W::none, "a mapped output switches the same"},
    {RuleId::pulseRounded, "pulse-rounded", "a pulse finer than 0.1 s, for FANUC",
     "DO[n]=PULSE,t sec to 0.1 s", O::approximated, W::pulseRounded, "FANUC pulses in tenths"},
    {RuleId::pulseLengthUnknown, "pulse-length-unknown",
     "a FANUC pulse without a length, a KUKA pulse of the low level", "a comment", O::kept,
     W::pulseKept, "the length is a controller setting; the other controllers pulse high only"},
    {RuleId::waitInput, "wait-input", "WAIT FOR $IN[n], WaitDI, WAIT DI[n]=ON without time-out",
     "the same in the target's words", O::exact, W::none, "a mapped input is waited for the same"},
    {RuleId::signalMap, "signal-map", "a signal through --signal, or the same vendor's own",
     "the --signal target", O::exact, W::none, "signals are carried by reference"},
    {RuleId::signalUnmapped, "signal-unmapped", "I/O whose signal is not in --signal", "a comment",
     O::kept, W::signalUnmapped, "signal names and numbers differ per cell"},
    {RuleId::signalMismatch, "signal-mismatch",
     "--signal maps an output to an input word or the reverse", "refused", O::refused, W::none,
     "the map contradicts the statement"},
    {RuleId::ioNearBlend, "io-near-blend", "I/O after a blended motion, to another vendor",
     "the same, warned", O::approximated, W::ioNearBlend,
     "each controller's advance run switches it at another moment of the corner"},
    {RuleId::call, "call", "name( ), name;, CALL NAME without arguments", "the same, name adapted",
     O::exact, W::none, "a call runs a routine"},
    {RuleId::sameVendor, "same-vendor", "speeds, blending, references, signals to the same vendor",
     "the same", O::exact, W::none,
     "a same-vendor translation is the identity where it translates"},
    {RuleId::nameAdapted, "name-adapted", "a name the target does not take as it is",
     "letters, digits and _ only, a letter first, KRL 24, RAPID 32, FANUC programs 8 (upper case) "
     "and comments 16 characters, collisions numbered _2, _3 in the order met",
     O::exact, W::nameAdapted, "every rename is reported"},
    {RuleId::targetLimit, "target-limit",
     "a map word the target does not take, more than 9999 lines in a FANUC program", "refused",
     O::refused, W::none, "the controller would refuse the program"},
};

} // namespace

std::span<const Rule> allRules() {
    return rules;
}

const Rule& rule(RuleId id) {
    const auto index = static_cast<std::size_t>(id);
    if (index < std::size(rules) && rules[index].id == id) {
        return rules[index];
    }
    for (const Rule& r : rules) {
        if (r.id == id) {
            return r;
        }
    }
    return rules[0];
}

const char* ruleOutcomeName(RuleOutcome outcome) {
    switch (outcome) {
    case RuleOutcome::exact:
        return "exact";
    case RuleOutcome::approximated:
        return "approximated";
    case RuleOutcome::refused:
        return "refused";
    case RuleOutcome::kept:
        return "kept";
    case RuleOutcome::structural:
        return "structural";
    case RuleOutcome::blank:
        return "blank";
    }
    return "";
}
