#include "robotfiles/fanuc/fanuc_position.h"

#include "robotfiles/scan_text.h"

#include <utility>

namespace {

// The text of one position up to its end, read from pos on.
struct Cursor {
    std::string_view text;
    std::size_t pos = 0;
    FanucTrouble& trouble;
};

bool fail(Cursor& c, std::size_t at, std::string message) {
    c.trouble.at = at;
    c.trouble.message = std::move(message);
    return false;
}

// A label as messages show it, with what follows it; bounded, since it comes
// from the file.
std::string shown(std::string_view label, std::string_view after = {}) {
    std::string text(1, '\'');
    text.append(label.substr(0, 24));
    text.append(after);
    text += '\'';
    return text;
}

// Labels end at blanks and at the punctuation of a position. Any other byte
// belongs to the label: exports in other languages translate some labels.
bool endsLabel(char c) {
    return isBlankByte(c) || c == ':' || c == '=' || c == ',' || c == '{' || c == '}' || c == '[' ||
           c == ']' || c == '\'' || c == '"' || c == ';';
}

// n of a label such as GP2, E1 or J6 with the given letters; -1 for any other label.
int labelNumber(std::string_view label, std::string_view letters) {
    if (label.size() <= letters.size() || label.size() > letters.size() + 4 ||
        !equalsNoCase(label.substr(0, letters.size()), letters)) {
        return -1;
    }
    int number = 0;
    for (const char c : label.substr(letters.size())) {
        if (!isDigitByte(c)) {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

// The slot of x y z w p r, or -1. RX ... RR name the members of a remote TCP,
// and are never X ... R themselves.
int memberSlot(std::string_view label, bool& remote) {
    static const char letters[fanucMemberCount] = {'X', 'Y', 'Z', 'W', 'P', 'R'};
    remote = label.size() == 2 && lowerByte(label[0]) == 'r';
    if (label.size() != (remote ? 2u : 1u)) {
        return -1;
    }
    const char letter = lowerByte(label.back());
    for (int i = 0; i < fanucMemberCount; ++i) {
        if (letter == lowerByte(letters[i])) {
            return i;
        }
    }
    return -1;
}

std::size_t skipBlanksAndCommas(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (isBlankByte(text[pos]) || text[pos] == ',')) {
        ++pos;
    }
    return pos;
}

bool readHeader(Cursor& c, FanucPosition& position) {
    const std::string_view text = c.text;
    std::size_t pos = skipBlanks(text, c.pos + 1);
    if (pos >= text.size() || text[pos] != '[') {
        return fail(c, pos, "expected '[' after P");
    }
    pos = skipBlanks(text, pos + 1);
    const std::size_t digits = pos;
    while (pos < text.size() && isDigitByte(text[pos])) {
        ++pos;
    }
    if (pos == digits) {
        return fail(c, pos, "expected the position number after 'P['");
    }
    position.number = text.substr(digits, pos - digits);
    pos = skipBlanks(text, pos);
    if (pos < text.size() && text[pos] == ':') {
        pos = skipBlanks(text, pos + 1);
        if (pos >= text.size() || text[pos] != '"') {
            return fail(c, pos, "expected '\"' to open the comment");
        }
        // Any byte but the quote may stand in a comment: a byte of a
        // Shift-JIS character can be ']' or '}'.
        std::size_t close = pos + 1;
        while (close < text.size() && text[close] != '"' && text[close] != '\n') {
            ++close;
        }
        if (close >= text.size() || text[close] != '"') {
            return fail(c, pos, "expected '\"' to close the comment");
        }
        position.hasComment = true;
        position.comment = text.substr(pos + 1, close - pos - 1);
        pos = skipBlanks(text, close + 1);
    }
    if (pos >= text.size() || text[pos] != ']') {
        return fail(c, pos, "expected ']' after the position number");
    }
    pos = skipBlanks(text, pos + 1);
    if (pos >= text.size() || text[pos] != '{') {
        return fail(c, pos,
                    "expected '{' after P[" + std::string(position.number.substr(0, 24)) + "]");
    }
    c.pos = pos + 1;
    return true;
}

// "= number unit" or "= ****** unit"; c.pos is just past the '='.
bool readValue(Cursor& c, std::string_view label, FanucValue& value) {
    const std::string_view text = c.text;
    std::size_t pos = skipBlanks(text, c.pos);
    const std::size_t first = pos;
    if (pos < text.size() && text[pos] == '*') {
        while (pos < text.size() && text[pos] == '*') {
            ++pos;
        }
        value.stars = true;
    } else {
        std::size_t length = 0;
        if (!readNumberAt(text, pos, value.value, length)) {
            return fail(c, first, "expected a number after " + shown(label, " ="));
        }
        pos += length;
    }
    // "12.3.4" or "1.5e" is a broken number, not 12.3 followed by something.
    if (pos < text.size() && !isBlankByte(text[pos]) && text[pos] != ',' && text[pos] != '}') {
        return fail(c, first, "expected a number after " + shown(label, " ="));
    }
    value.present = true;
    value.at = first;
    value.length = pos - first;
    // FANUC writes mm or deg; any other word is the next label.
    const std::size_t unit = skipBlanks(text, pos);
    std::size_t unitEnd = unit;
    while (unitEnd < text.size() && !endsLabel(text[unitEnd])) {
        ++unitEnd;
    }
    const std::string_view word = text.substr(unit, unitEnd - unit);
    c.pos = equalsNoCase(word, "mm") || equalsNoCase(word, "deg") ? unitEnd : pos;
    return true;
}

// "label : value" of the group's settings; c.pos is just past the ':'.
// The settings are UF, UT and the configuration, whose label each export
// language writes its own way (CONFIG, KONFIG, ...): the quoted one is the
// configuration, the others go by label or else by their order.
bool readSetting(Cursor& c, std::string_view label, FanucGroup& group, int& plainSettings) {
    const std::string_view text = c.text;
    const std::size_t pos = skipBlanks(text, c.pos);
    if (pos < text.size() && text[pos] == '\'') {
        std::size_t close = pos + 1;
        while (close < text.size() && text[close] != '\'' && text[close] != '\n') {
            ++close;
        }
        if (close >= text.size() || text[close] != '\'') {
            return fail(c, pos, "expected ' to close the value of " + shown(label));
        }
        if (!group.hasConfig) {
            group.hasConfig = true;
            group.config = text.substr(pos + 1, close - pos - 1);
        }
        c.pos = close + 1;
        return true;
    }
    std::size_t end = pos;
    while (end < text.size() && !isBlankByte(text[end]) && text[end] != ',' && text[end] != '}' &&
           text[end] != ';') {
        ++end;
    }
    if (end == pos) {
        return fail(c, pos, "expected a value after " + shown(label, " :"));
    }
    const std::string_view value = text.substr(pos, end - pos);
    const bool isUf =
        equalsNoCase(label, "UF") || (!equalsNoCase(label, "UT") && plainSettings == 0);
    const bool isUt = !isUf && (equalsNoCase(label, "UT") || plainSettings == 1);
    ++plainSettings;
    if (isUf && !group.hasUf) {
        group.hasUf = true;
        group.uf = value;
    } else if (isUt && !group.hasUt) {
        group.hasUt = true;
        group.ut = value;
    }
    c.pos = end;
    return true;
}

// Extended axes and joint values are kept sorted by number, each once.
bool addAxis(Cursor& c, std::vector<FanucAxis>& axes, std::size_t first, std::size_t& count,
             int groupNumber, std::size_t labelAt, std::string_view label, int number,
             const FanucValue& value) {
    for (std::size_t i = first; i < axes.size(); ++i) {
        if (axes[i].number == number) {
            return fail(c, labelAt,
                        "expected " + shown(label) + " once in GP" + std::to_string(groupNumber));
        }
    }
    axes.push_back(FanucAxis{number, value});
    for (std::size_t i = axes.size() - 1; i > first && axes[i - 1].number > number; --i) {
        std::swap(axes[i - 1], axes[i]);
    }
    ++count;
    return true;
}

// "label = value unit"; c.pos is just past the '='.
bool readMember(Cursor& c, FanucPosition& position, std::size_t labelAt, std::string_view label) {
    FanucValue value;
    if (!readValue(c, label, value)) {
        return false;
    }
    FanucGroup& group = position.groups.back();
    bool remote = false;
    if (const int slot = memberSlot(label, remote); slot >= 0) {
        if (group.members[slot].present) {
            return fail(c, labelAt,
                        "expected " + shown(label) + " once in GP" + std::to_string(group.number));
        }
        for (const FanucValue& other : group.members) {
            if (other.present && remote != group.remoteTcp) {
                return fail(c, labelAt,
                            "expected either X ... R or RX ... RR in GP" +
                                std::to_string(group.number));
            }
        }
        group.remoteTcp = remote;
        group.members[slot] = value;
    } else if (const int axis = labelNumber(label, "E"); axis >= 0) {
        return addAxis(c, position.axes, group.firstAxis, group.axisCount, group.number, labelAt,
                       label, axis, value);
    } else if (const int joint = labelNumber(label, "J"); joint >= 0) {
        group.joint = true;
        return addAxis(c, position.joints, group.firstJoint, group.jointCount, group.number,
                       labelAt, label, joint, value);
    }
    // Any other member is not part of a pose: read, and left alone.
    return true;
}

bool readGroups(Cursor& c, FanucPosition& position) {
    const std::string_view text = c.text;
    int plainSettings = 0;
    for (;;) {
        std::size_t pos = skipBlanksAndCommas(text, c.pos);
        if (pos >= text.size()) {
            return fail(c, pos, "expected '};'");
        }
        if (text[pos] == '}') {
            pos = skipBlanks(text, pos + 1);
            if (pos >= text.size() || text[pos] != ';') {
                return fail(c, pos, "expected ';' after '}'");
            }
            c.pos = pos + 1;
            return true;
        }
        const std::size_t labelAt = pos;
        while (pos < text.size() && !endsLabel(text[pos])) {
            ++pos;
        }
        const std::string_view label = text.substr(labelAt, pos - labelAt);
        if (label.empty()) {
            return fail(c, labelAt, "expected a label such as GP1, UF or X");
        }
        pos = skipBlanks(text, pos);
        const char separator = pos < text.size() ? text[pos] : '\0';
        const int groupNumber = labelNumber(label, "GP");
        if (groupNumber >= 0) {
            if (separator != ':') {
                return fail(c, pos, "expected ':' after " + shown(label));
            }
            FanucGroup& group = position.groups.emplace_back();
            group.number = groupNumber;
            group.firstAxis = position.axes.size();
            group.firstJoint = position.joints.size();
            plainSettings = 0;
            c.pos = pos + 1;
            continue;
        }
        if (separator != ':' && separator != '=') {
            return fail(c, pos, "expected '=' after " + shown(label));
        }
        if (position.groups.empty()) {
            return fail(c, labelAt, "expected 'GP1:' before " + shown(label));
        }
        c.pos = pos + 1;
        const bool read = separator == ':'
                              ? readSetting(c, label, position.groups.back(), plainSettings)
                              : readMember(c, position, labelAt, label);
        if (!read) {
            return false;
        }
    }
}

} // namespace

bool readFanucPosition(std::string_view text, std::size_t start, std::size_t end,
                       FanucPosition& position, FanucTrouble& trouble) {
    position.number = {};
    position.hasComment = false;
    position.comment = {};
    position.groups.clear();
    position.axes.clear();
    position.joints.clear();
    end = end < text.size() ? end : text.size();
    if (start >= end || text[start] != 'P') {
        trouble.at = start;
        trouble.message = "expected 'P['";
        return false;
    }
    Cursor c{text.substr(0, end), start, trouble};
    return readHeader(c, position) && readGroups(c, position);
}
