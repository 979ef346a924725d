#include "translation/maps.h"

#include "translation/abb_data.h"
#include "translation/names.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

struct NumberLimits {
    int lowest;
    int highest;
};

// Which numbers each controller has: KUKA BASE_DATA[1..32] and
// TOOL_DATA[1..16] (0: world, flange); FANUC user frames 0..9, tools 1..10.
NumberLimits targetNumbers(Vendor vendor, ReferenceKind kind) {
    if (vendor == Vendor::kuka) {
        return kind == ReferenceKind::frame ? NumberLimits{0, 32} : NumberLimits{0, 16};
    }
    return kind == ReferenceKind::frame ? NumberLimits{0, 9} : NumberLimits{1, 10};
}

constexpr int sourceNumberLimit = 999;

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (upper(a[k]) != upper(b[k])) {
            return false;
        }
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool wholeNumber(std::string_view text, int& value) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0;
}

bool decimalNumber(std::string_view text, float& value) {
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return false;
    }
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
           std::isfinite(value);
}

bool isIdentifier(std::string_view word) {
    if (word.empty() || word.size() > nameLimit(Vendor::abb, NameKind::data)) {
        return false;
    }
    if (!((word[0] >= 'a' && word[0] <= 'z') || (word[0] >= 'A' && word[0] <= 'Z'))) {
        return false;
    }
    for (char c : word) {
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool splitPair(std::string_view text, std::string_view& left, std::string_view& right,
               std::string& message) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        message = "expected SOURCE=TARGET in '" + std::string(text) + "'";
        return false;
    }
    left = trimmed(text.substr(0, equals));
    right = trimmed(text.substr(equals + 1));
    if (left.empty() || right.empty()) {
        message = "expected SOURCE=TARGET in '" + std::string(text) + "'";
        return false;
    }
    return true;
}

const char* vendorWords(Vendor vendor) {
    switch (vendor) {
    case Vendor::kuka:
        return "KUKA";
    case Vendor::abb:
        return "ABB";
    case Vendor::fanuc:
        return "FANUC";
    }
    return "";
}

// A numbered signal word: the prefix as written in upper case, then [n].
bool numberedSignal(std::string_view word, std::string_view prefix, std::string& out) {
    if (word.size() <= prefix.size() + 2 || !equalNoCase(word.substr(0, prefix.size()), prefix) ||
        word[prefix.size()] != '[' || word.back() != ']') {
        return false;
    }
    int number = 0;
    if (!wholeNumber(trimmed(word.substr(prefix.size() + 1, word.size() - prefix.size() - 2)),
                     number) ||
        number < 1) {
        return false;
    }
    out = std::string(prefix) + "[" + std::to_string(number) + "]";
    return true;
}

} // namespace

bool parseReferenceWord(std::string_view word, Vendor vendor, ReferenceKind kind, bool targetSide,
                        Reference& out, std::string& message) {
    word = trimmed(word);
    const char* what = kind == ReferenceKind::frame ? "frame" : "tool";
    out = Reference{};
    if (vendor == Vendor::abb) {
        if (!isIdentifier(word)) {
            message = std::string("expected an ABB ") +
                      (kind == ReferenceKind::frame ? "work object" : "tool") +
                      " name (a letter, then letters, digits or _, at most 32), not '" +
                      std::string(word) + "'";
            return false;
        }
        out.known = true;
        out.name = std::string(word);
        return true;
    }
    int number = 0;
    const NumberLimits limits =
        targetSide ? targetNumbers(vendor, kind) : NumberLimits{0, sourceNumberLimit};
    if (!wholeNumber(word, number) || number < limits.lowest || number > limits.highest) {
        message = std::string("expected a ") + vendorWords(vendor) + " " + what + " number " +
                  std::to_string(limits.lowest) + ".." + std::to_string(limits.highest) +
                  ", not '" + std::string(word) + "'";
        return false;
    }
    out.known = true;
    out.number = number;
    return true;
}

bool parseReferencePair(std::string_view text, Vendor source, Vendor target, ReferenceKind kind,
                        ReferencePair& out, std::string& message) {
    std::string_view left;
    std::string_view right;
    return splitPair(text, left, right, message) &&
           parseReferenceWord(left, source, kind, false, out.source, message) &&
           parseReferenceWord(right, target, kind, true, out.target, message);
}

bool parseSignalWord(std::string_view word, Vendor vendor, std::string& out, std::string& message) {
    word = trimmed(word);
    switch (vendor) {
    case Vendor::kuka:
        if (numberedSignal(word, "$OUT", out) || numberedSignal(word, "$IN", out)) {
            return true;
        }
        if (isIdentifier(word) && word.size() <= nameLimit(Vendor::kuka, NameKind::data)) {
            out = std::string(word);
            return true;
        }
        message = "expected a KUKA signal $OUT[n], $IN[n] or a signal name, not '" +
                  std::string(word) + "'";
        return false;
    case Vendor::abb:
        if (isIdentifier(word)) {
            out = std::string(word);
            return true;
        }
        message = "expected an ABB signal name, not '" + std::string(word) + "'";
        return false;
    case Vendor::fanuc:
        for (const char* prefix : {"DO", "DI", "RO", "RI"}) {
            if (numberedSignal(word, prefix, out)) {
                return true;
            }
        }
        message =
            "expected a FANUC signal DO[n], DI[n], RO[n] or RI[n], not '" + std::string(word) + "'";
        return false;
    }
    return false;
}

bool parseSignalPair(std::string_view text, Vendor source, Vendor target, SignalPair& out,
                     std::string& message) {
    std::string_view left;
    std::string_view right;
    return splitPair(text, left, right, message) &&
           parseSignalWord(left, source, out.source, message) &&
           parseSignalWord(right, target, out.target, message);
}

bool signalCanBe(std::string_view word, bool output) {
    const bool isOutput =
        word.starts_with("$OUT[") || word.starts_with("DO[") || word.starts_with("RO[");
    const bool isInput =
        word.starts_with("$IN[") || word.starts_with("DI[") || word.starts_with("RI[");
    return output ? !isInput : !isOutput;
}

bool sameSignal(std::string_view a, std::string_view b) {
    return equalNoCase(a, b);
}

bool parseBlendWord(std::string_view word, BlendWord& out, std::string& message) {
    word = trimmed(word);
    out = BlendWord{};
    // A word with a vendor's prefix is that vendor's, so that "CNT" alone is
    // refused instead of being taken for a zonedata of that name.
    const auto prefixed = [&](std::string_view prefix, std::string_view& rest) {
        if (word.size() >= prefix.size() && equalNoCase(word.substr(0, prefix.size()), prefix)) {
            rest = word.substr(prefix.size());
            return true;
        }
        return false;
    };
    std::string_view rest;
    if (equalNoCase(word, "FINE")) {
        out.anyVendor = true;
        out.blend.kind = BlendKind::stop;
        return true;
    }
    if (prefixed("CNT", rest)) {
        int n = 0;
        if (!wholeNumber(rest, n) || n > 100) {
            message = "expected CNT0 to CNT100, not '" + std::string(word) + "'";
            return false;
        }
        out.vendor = Vendor::fanuc;
        out.blend.kind = BlendKind::fanucCnt;
        out.blend.value = static_cast<float>(n);
        return true;
    }
    const struct {
        const char* prefix;
        BlendKind kind;
    } kuka[] = {{"C_DIS", BlendKind::kukaDistance},
                {"C_PTP", BlendKind::kukaPtp},
                {"C_VEL", BlendKind::kukaVelocity},
                {"C_ORI", BlendKind::kukaOrientation}};
    for (const auto& form : kuka) {
        if (prefixed(form.prefix, rest)) {
            float value = 0.0f;
            if (!decimalNumber(trimmed(rest), value)) {
                message = std::string("expected a number after ") + form.prefix + " in '" +
                          std::string(word) + "'";
                return false;
            }
            out.vendor = Vendor::kuka;
            out.blend.kind = form.kind;
            out.blend.value = value;
            return true;
        }
    }
    if (isIdentifier(word)) {
        out.vendor = Vendor::abb;
        out.blend.kind = BlendKind::abbZone;
        out.blend.name = std::string(word);
        return true;
    }
    message = "expected a blending word (FINE, CNTn, C_DISx, C_PTPx, C_VELx, C_ORIx, zN or a "
              "zonedata name), not '" +
              std::string(word) + "'";
    return false;
}

bool parseBlendPair(std::string_view text, BlendPair& out, std::string& message) {
    std::string_view left;
    std::string_view right;
    if (!splitPair(text, left, right, message) || !parseBlendWord(left, out.source, message) ||
        !parseBlendWord(right, out.target, message)) {
        return false;
    }
    // Entries that could never apply are refused rather than ignored.
    if (out.source.anyVendor) {
        message = "a stop always becomes a stop: '" + std::string(left) + "' cannot be a key";
        return false;
    }
    if (out.target.vendor == Vendor::abb && !out.target.anyVendor &&
        findAbbZone(out.target.blend.name) == nullptr) {
        message = "expected fine or a predefined zone z0 to z200 as an ABB target, not '" +
                  std::string(right) + "' (an own zonedata's values are not known)";
        return false;
    }
    return true;
}

namespace {

std::string number(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string speedWords(const Speed& speed) {
    switch (speed.kind) {
    case SpeedKind::unset:
        return "no speed";
    case SpeedKind::path:
        switch (speed.unit) {
        case PathUnit::metresPerSecond:
            return number(speed.value) + " m/s";
        case PathUnit::millimetresPerSecond:
            return number(speed.value) + "mm/sec";
        case PathUnit::centimetresPerMinute:
            return number(speed.value) + "cm/min";
        }
        return "";
    case SpeedKind::jointPercent:
        return number(speed.value) + " %";
    case SpeedKind::abbData:
        return speed.name;
    case SpeedKind::other:
        return speed.text;
    }
    return "";
}

std::string blendWords(const Blend& blend) {
    switch (blend.kind) {
    case BlendKind::stop:
        return "stop";
    case BlendKind::kukaDistance:
        return "C_DIS " + number(blend.value);
    case BlendKind::kukaPtp:
        return "C_PTP " + number(blend.value);
    case BlendKind::kukaVelocity:
        return "C_VEL " + number(blend.value);
    case BlendKind::kukaOrientation:
        return "C_ORI " + number(blend.value);
    case BlendKind::abbZone:
        return blend.name;
    case BlendKind::fanucCnt:
        return "CNT" + number(blend.value);
    case BlendKind::other:
        return blend.text;
    }
    return "";
}
