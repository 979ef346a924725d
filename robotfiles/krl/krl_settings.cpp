#include "robotfiles/krl/krl_settings.h"

#include "robotfiles/program_input.h"
#include "robotfiles/scan_text.h"

#include <algorithm>

namespace {

// KUKA's defaults in the sample $config.dat: DEF_VEL_PTP = 100 %, and
// DEF_VEL_CP = 2 m/s, which BAS caps path speeds at. A larger value is the
// controller's cap, which the program does not say: unknown.
constexpr float maxBasPercent = 100.0f;
constexpr float maxBasPathSpeed = 2.0f;

std::size_t wordEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (isKrlNameByte(text[pos]) || text[pos] == '#')) {
        ++pos;
    }
    return pos;
}

// The whole text is one number.
bool numberText(std::string_view text, float& value) {
    text = trimmedText(text);
    std::size_t length = 0;
    return !text.empty() && readNumberAt(text, 0, value, length) && length == text.size();
}

KrlValue known(float value) {
    return KrlValue{true, value};
}

// The value assigned: after the '=', up to a comment, blanks trimmed.
std::string_view assignedValue(std::string_view text, const KrlLine& line) {
    std::string_view value = text.substr(line.equalsAt + 1);
    const std::size_t comment = value.find(';');
    return trimmedText(value.substr(0, comment));
}

bool isPlainName(std::string_view word) {
    if (word.empty() || isDigitByte(word[0])) {
        return false;
    }
    return std::all_of(word.begin(), word.end(), isKrlNameByte);
}

// Frame and tool numbers a KRL program may name: far above any controller's
// BASE_DATA and TOOL_DATA, far below int's range.
constexpr float maxFrameNumber = 1.0e6f;

// The number of "PREFIX[n]", or false.
bool numbered(std::string_view text, std::string_view prefix, float& number) {
    if (text.size() < prefix.size() + 3 || !equalsNoCase(text.substr(0, prefix.size()), prefix)) {
        return false;
    }
    std::string_view rest = trimmedText(text.substr(prefix.size()));
    if (rest.size() < 3 || rest.front() != '[' || rest.back() != ']') {
        return false;
    }
    // Bounded before the whole-number test: a float beyond int's range
    // converted to int is undefined, and no controller numbers a frame so far.
    return numberText(rest.substr(1, rest.size() - 2), number) && number >= 0.0f &&
           number <= maxFrameNumber && number == static_cast<float>(static_cast<int>(number));
}

// The members of an aggregate "{NAME value, ...}" at the top level, each
// handed to visit(name, value text).
template <typename Visit>
void forEachMember(std::string_view text, std::size_t open, Visit visit) {
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t pos = open + 1; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            const std::size_t quote = text.find('"', pos + 1);
            pos = quote == std::string_view::npos ? text.size() - 1 : quote;
            continue;
        }
        if (c == '{' || c == '[' || c == '(') {
            ++depth;
            continue;
        }
        const bool close = c == '}' || c == ']' || c == ')';
        if (close && depth > 0) {
            --depth;
            continue;
        }
        if (depth == 0 && (c == ',' || close)) {
            const std::string_view member = trimmedText(text.substr(start, pos - start));
            const std::size_t nameEnd = wordEnd(member, 0);
            visit(member.substr(0, nameEnd), trimmedText(member.substr(nameEnd)));
            if (close) {
                return;
            }
            start = pos + 1;
        }
    }
}

void setFrames(KrlSettings& s, const KrlInlineData& data, bool conditional) {
    const auto found = data.frames.find(s.fdatAct);
    if (conditional || found == data.frames.end() || found->second.tcpIpo) {
        // A stationary tool swaps what the pose is relative to: no base of
        // the usual kind, so the motion's frame is unknown.
        s.base = KrlValue{};
        s.tool = KrlValue{};
        return;
    }
    s.base = found->second.base;
    s.tool = found->second.tool;
}

void setPtpData(KrlSettings& s, const KrlInlineData& data, bool conditional) {
    const auto found = data.ptp.find(s.pdatAct);
    if (conditional || found == data.ptp.end() || !found->second.apoDist.known) {
        s.cptp = KrlValue{};
        s.cdis = KrlValue{};
        return;
    }
    const KrlPtpData& ptp = found->second;
    if (ptp.cdisMode) {
        s.cdis = ptp.apoDist;
    } else {
        s.cptp = known(std::min(ptp.apoDist.value, maxBasPercent));
    }
}

void setCpData(KrlSettings& s, const KrlInlineData& data, bool conditional) {
    const auto found = data.cp.find(s.ldatAct);
    if (conditional || found == data.cp.end()) {
        s.cdis = KrlValue{};
        // A data set that only sometimes applies may set any orientation.
        s.orientationVaries = s.orientationVaries && !conditional;
        return;
    }
    s.cdis = found->second.apoDist;
    s.orientationVaries = found->second.orientationVaries;
}

void setVelPtp(KrlSettings& s, KrlValue percent) {
    if (percent.known && !(percent.value > 0.0f && percent.value <= maxBasPercent)) {
        percent = KrlValue{};
    }
    for (KrlValue& axis : s.velAxis) {
        axis = percent;
    }
}

void setVelCp(KrlSettings& s, KrlValue speed) {
    if (speed.known && !(speed.value > 0.0f && speed.value <= maxBasPathSpeed)) {
        speed = KrlValue{};
    }
    s.velCp = speed;
}

// BAS(#COMMAND[, value]): KUKA's helper, as BAS.SRC does it.
KrlSettingKind applyBas(KrlSettings& s, const KrlInlineData& data, std::string_view text,
                        std::size_t keywordEnd, bool conditional) {
    std::size_t pos = skipBlanks(text, keywordEnd);
    if (pos >= text.size() || text[pos] != '(') {
        return KrlSettingKind::none;
    }
    pos = skipBlanks(text, pos + 1);
    const std::size_t commandEnd = wordEnd(text, pos);
    const std::string_view command = text.substr(pos, commandEnd - pos);
    std::size_t close = text.find(')', commandEnd);
    if (close == std::string_view::npos) {
        return KrlSettingKind::none;
    }
    std::string_view argument = trimmedText(text.substr(commandEnd, close - commandEnd));
    KrlValue value;
    if (!argument.empty() && argument.front() == ',') {
        float number = 0.0f;
        value.known = numberText(argument.substr(1), number) && !conditional;
        value.value = number;
    }
    const auto is = [&](std::string_view word) { return equalsNoCase(command, word); };
    if (is("#INITMOV")) {
        // The controller's defaults, which $config.dat holds, not the program.
        s.velCp = KrlValue{};
        setVelPtp(s, KrlValue{});
        s.cdis = s.cptp = s.cvel = s.cori = KrlValue{};
        s.base = s.tool = KrlValue{};
        s.orientationVaries = true;
    } else if (is("#VEL_PTP")) {
        setVelPtp(s, value);
    } else if (is("#VEL_CP")) {
        setVelCp(s, value);
    } else if (is("#TOOL")) {
        s.tool = value;
    } else if (is("#BASE")) {
        s.base = value;
    } else if (is("#FRAMES")) {
        setFrames(s, data, conditional);
    } else if (is("#PTP_DAT")) {
        setPtpData(s, data, conditional);
    } else if (is("#CP_DAT")) {
        setCpData(s, data, conditional);
    } else if (is("#PTP_PARAMS")) {
        setPtpData(s, data, conditional);
        setFrames(s, data, conditional);
        setVelPtp(s, value);
    } else if (is("#CP_PARAMS")) {
        setCpData(s, data, conditional);
        setFrames(s, data, conditional);
        setVelCp(s, value);
    } else {
        // Accelerations, spline and technology parameters: not modelled.
        return KrlSettingKind::none;
    }
    return KrlSettingKind::setting;
}

KrlSettingKind assignNumber(KrlValue& target, std::string_view value, bool conditional) {
    float number = 0.0f;
    if (!numberText(value, number)) {
        target = KrlValue{};
        return KrlSettingKind::unreadable;
    }
    target = conditional ? KrlValue{} : known(number);
    return KrlSettingKind::setting;
}

// $BASE = BASE_DATA[n] or $WORLD; $TOOL = TOOL_DATA[n] or $NULLFRAME.
KrlSettingKind assignFrame(KrlValue& target, std::string_view value, std::string_view data,
                           bool conditional) {
    float number = 0.0f;
    if (numbered(value, data, number)) {
        target = conditional ? KrlValue{} : known(number);
        return KrlSettingKind::setting;
    }
    if (equalsNoCase(value, "$WORLD") || equalsNoCase(value, "$NULLFRAME") ||
        equalsNoCase(value, "$ROBROOT")) {
        target = conditional ? KrlValue{} : known(0.0f);
        return equalsNoCase(value, "$ROBROOT") ? KrlSettingKind::frameDefinition
                                               : KrlSettingKind::setting;
    }
    target = KrlValue{};
    return KrlSettingKind::frameDefinition;
}

KrlSettingKind assignName(std::string& target, std::string_view value, bool conditional) {
    if (!isPlainName(value)) {
        target.clear();
        return KrlSettingKind::unreadable;
    }
    target = conditional ? std::string() : krlNameKey(value);
    return KrlSettingKind::setting;
}

KrlSettingKind applyAssignment(KrlSettings& s, std::string_view text, const KrlLine& line,
                               bool conditional) {
    const std::string_view left = line.assigned;
    const std::string_view value = assignedValue(text, line);
    const auto is = [&](std::string_view word) { return equalsNoCase(left, word); };
    if (is("$VEL.CP")) {
        return assignNumber(s.velCp, value, conditional);
    }
    float axis = 0.0f;
    if (numbered(left, "$VEL_AXIS", axis)) {
        if (axis < 1.0f || axis > 6.0f) {
            return KrlSettingKind::none;
        }
        return assignNumber(s.velAxis[static_cast<int>(axis) - 1], value, conditional);
    }
    if (is("$APO.CDIS")) {
        return assignNumber(s.cdis, value, conditional);
    }
    if (is("$APO.CPTP")) {
        return assignNumber(s.cptp, value, conditional);
    }
    if (is("$APO.CVEL")) {
        return assignNumber(s.cvel, value, conditional);
    }
    if (is("$APO.CORI")) {
        return assignNumber(s.cori, value, conditional);
    }
    if (is("$BASE")) {
        return assignFrame(s.base, value, "BASE_DATA", conditional);
    }
    if (is("$TOOL")) {
        return assignFrame(s.tool, value, "TOOL_DATA", conditional);
    }
    if (is("PDAT_ACT")) {
        return assignName(s.pdatAct, value, conditional);
    }
    if (is("LDAT_ACT")) {
        return assignName(s.ldatAct, value, conditional);
    }
    if (is("FDAT_ACT")) {
        return assignName(s.fdatAct, value, conditional);
    }
    if (is("$ORI_TYPE")) {
        s.orientationVaries = conditional ? false : equalsNoCase(value, "#VAR");
        return KrlSettingKind::setting;
    }
    // What inline forms set besides: the backward-motion flag and the home
    // position the HOME display compares with. Neither moves the robot.
    if (is("$BWDSTART") || is("$H_POS")) {
        return KrlSettingKind::setting;
    }
    return KrlSettingKind::none;
}

} // namespace

void resetKrlSettings(KrlSettings& settings) {
    settings = KrlSettings{};
}

bool readKrlInlineData(std::string_view text, KrlInlineData& data) {
    std::size_t pos = skipBlanks(text, 0);
    std::string_view type;
    for (int words = 0; words < 3; ++words) {
        const std::size_t end = wordEnd(text, pos);
        const std::string_view word = text.substr(pos, end - pos);
        pos = skipBlanks(text, end);
        if (equalsNoCase(word, "DECL") || equalsNoCase(word, "GLOBAL")) {
            continue;
        }
        type = word;
        break;
    }
    const bool fdat = equalsNoCase(type, "FDAT");
    const bool pdat = equalsNoCase(type, "PDAT");
    const bool ldat = equalsNoCase(type, "LDAT");
    if (!fdat && !pdat && !ldat) {
        return false;
    }
    const std::size_t nameEnd = wordEnd(text, pos);
    const std::string key = krlNameKey(text.substr(pos, nameEnd - pos));
    pos = skipBlanks(text, nameEnd);
    if (key.empty() || pos >= text.size() || text[pos] != '=') {
        return false;
    }
    pos = skipBlanks(text, pos + 1);
    if (pos >= text.size() || text[pos] != '{') {
        return false;
    }
    KrlFrameData frames;
    KrlPtpData ptp;
    KrlCpData cp;
    forEachMember(text, pos, [&](std::string_view name, std::string_view value) {
        float number = 0.0f;
        const bool isNumber = numberText(value, number);
        const auto is = [&](std::string_view word) { return equalsNoCase(name, word); };
        if (is("TOOL_NO") && isNumber) {
            frames.tool = known(number);
        } else if (is("BASE_NO") && isNumber) {
            frames.base = known(number);
        } else if (is("IPO_FRAME")) {
            frames.tcpIpo = equalsNoCase(value, "#TCP");
        } else if (is("VEL") && isNumber) {
            ptp.vel = cp.vel = known(number);
        } else if (is("APO_DIST") && isNumber) {
            ptp.apoDist = cp.apoDist = known(number);
        } else if (is("APO_MODE")) {
            ptp.cdisMode = equalsNoCase(value, "#CDIS");
        } else if (is("ORI_TYP")) {
            cp.orientationVaries = equalsNoCase(value, "#VAR");
        }
    });
    if (fdat) {
        data.frames[key] = frames;
    } else if (pdat) {
        data.ptp[key] = ptp;
    } else {
        data.cp[key] = cp;
    }
    return true;
}

KrlSettingKind applyKrlSetting(KrlSettings& settings, const KrlInlineData& data,
                               std::string_view text, const KrlLine& line, bool conditional) {
    if (line.kind == KrlLineKind::assignment) {
        return applyAssignment(settings, text, line, conditional);
    }
    if (line.kind != KrlLineKind::other) {
        return KrlSettingKind::none;
    }
    if (equalsNoCase(line.keyword, "BAS")) {
        const std::size_t at =
            static_cast<std::size_t>(line.keyword.data() - text.data()) + line.keyword.size();
        return applyBas(settings, data, text, at, conditional);
    }
    // KSS 8's inline forms set the collision detection with each motion.
    if (equalsNoCase(line.keyword, "SET_CD_PARAMS")) {
        return KrlSettingKind::setting;
    }
    return KrlSettingKind::none;
}

void krlMotionValues(const KrlSettings& s, std::string_view approximation, Motion& motion) {
    Speed& speed = motion.speed;
    speed = Speed{};
    if (motion.kind == MotionKind::joint) {
        const KrlValue& first = s.velAxis[0];
        bool same = first.known;
        bool any = false;
        for (const KrlValue& axis : s.velAxis) {
            same = same && axis.known && axis.value == first.value;
            any = any || axis.known;
        }
        if (same) {
            speed.kind = SpeedKind::jointPercent;
            speed.value = first.value;
        } else if (any) {
            speed.kind = SpeedKind::other;
            speed.text = "$VEL_AXIS not the same for every axis";
        }
    } else if (s.velCp.known) {
        speed.kind = SpeedKind::path;
        speed.unit = PathUnit::metresPerSecond;
        speed.value = s.velCp.value;
    }
    Blend& blend = motion.blend;
    blend = Blend{};
    const struct {
        const char* word;
        BlendKind kind;
        const KrlValue& value;
        const char* variable;
    } forms[] = {{"C_DIS", BlendKind::kukaDistance, s.cdis, "$APO.CDIS"},
                 {"C_PTP", BlendKind::kukaPtp, s.cptp, "$APO.CPTP"},
                 {"C_VEL", BlendKind::kukaVelocity, s.cvel, "$APO.CVEL"},
                 {"C_ORI", BlendKind::kukaOrientation, s.cori, "$APO.CORI"}};
    for (const auto& form : forms) {
        if (!equalsNoCase(approximation, form.word)) {
            continue;
        }
        if (form.value.known) {
            blend.kind = form.kind;
            blend.value = form.value.value;
        } else {
            blend.kind = BlendKind::other;
            blend.text = std::string(form.word) + " without " + form.variable;
        }
    }
    const auto reference = [](const KrlValue& value) {
        Reference r;
        // An FDAT's BASE_NO or TOOL_NO that is no frame number (a fraction,
        // beyond int's range) names no frame the target could be given.
        r.known = value.known && value.value >= 0.0f && value.value <= maxFrameNumber &&
                  value.value == static_cast<float>(static_cast<int>(value.value));
        r.number = r.known ? static_cast<int>(value.value) : 0;
        return r;
    };
    motion.frame = reference(s.base);
    motion.tool = reference(s.tool);
}
