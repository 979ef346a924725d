#include "soak_actions.h"

#include <cmath>

#include <windows.h>

#include "clipboard_helpers.h"
#include "math/number_text.h"

std::uint64_t SoakRandom::next() {
    // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int SoakRandom::below(int count) {
    return count <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(count));
}

bool SoakRandom::chance(int percent) {
    return below(100) < percent;
}

namespace {

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string fixed(double value, int decimals) {
    char text[400];
    const int length = formatFixed(value, FixedFormat{decimals, 0, false}, text, sizeof text);
    return length < 0 ? "0" : std::string(text, static_cast<std::size_t>(length));
}

std::string hexUnit(unsigned unit, int digitCount) {
    constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 4 * (digitCount - 1); shift >= 0; shift -= 4) {
        text += hex[(unit >> shift) & 0xFu];
    }
    return text;
}

std::string digits(SoakRandom& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += static_cast<char>('0' + random.below(10));
    }
    return text;
}

// Plain decimal text: sign, integer digits, optional fraction.
std::string decimal(SoakRandom& random, int integerDigits, int decimals) {
    std::string text = random.chance(40) ? "-" : "";
    if (integerDigits == 0) {
        text += '0';
    } else {
        text += static_cast<char>('1' + random.below(9));
        text += digits(random, integerDigits - 1);
    }
    if (decimals > 0) {
        text += '.';
        text += digits(random, decimals);
    }
    return text;
}

// Texts are built by appending, one random draw after the other, so that a
// seed gives the same text whatever order a compiler evaluates operands in.
struct TextBuilder {
    std::string text;
    TextBuilder& operator<<(const std::string& part) {
        text += part;
        return *this;
    }
};

const char* const hostileAscii[] = {
    "1,5",      "1,000.25", "12.5mm",  "  12.5",   "12.5  ", "1e3",
    "1.5E2",    "-2e-3",    "1e+5",    "3.4e38",   "3.5e38", "-3.4028235e38",
    "1e39",     "1e300",    "1e-30",   "1e-45",    "1e-46",  "1.4e-45",
    "-0",       "-0.00",    "nan",     "NaN",      "inf",    "-inf",
    "INFINITY", "0x1p3",    "+.5",     ".",        "-",      "+",
    "e5",       "1e",       "1e+",     "--1",      "1..2",   "",
    " ",        "\t7",      "abc",     "X 1",      "{X 1}",  "[[0,0,0]]",
    "1 2",      "0.1",      "1234.56", "99999999", "1e38",   "-1e38",
    "%s%n%x",
};

// Units that are not ASCII: digits of other scripts, letters, a combining
// mark, symbols, a no-break space, a byte-order mark, surrogates paired and
// alone.
const wchar_t nonAsciiUnits[] = {
    0x00BD, 0x00B2, 0x00A0, 0x00E9, 0x0416, 0x20AC, 0x0661, 0x0662, 0xFF11, 0xFF0E,
    0x2212, 0x0301, 0xFEFF, 0x3000, 0xD83D, 0xDE00, 0xD800, 0xDFFF, 0xFFFD, 0x00FF,
};

// Wine 8's edit control itself crashes (inside its script shaping) on a mark
// of a right-to-left script followed by an Arabic digit or a zero-width
// joiner: U+064B U+0662 is enough, and so is U+05B0 U+0662, in a plain Edit
// control of a program of its own; Windows does not. No program can guard
// its edit controls against that, so the soak's random units leave out the
// right-to-left script blocks and the zero-width joiners.
bool crashesWineEditControls(unsigned unit) {
    return (unit >= 0x0590 && unit <= 0x08FF) || (unit >= 0xFB1D && unit <= 0xFDFF) ||
           (unit >= 0xFE70 && unit <= 0xFEFE) || unit == 0x200C || unit == 0x200D;
}

std::wstring mixedUnits(SoakRandom& random, int length) {
    std::wstring text;
    for (int i = 0; i < length; ++i) {
        switch (random.below(4)) {
        case 0:
            text += nonAsciiUnits[random.below(sizeof nonAsciiUnits / sizeof nonAsciiUnits[0])];
            break;
        case 1: {
            const auto unit = static_cast<unsigned>(1 + random.below(0xFFFE));
            text += static_cast<wchar_t>(crashesWineEditControls(unit) ? L'?' : unit);
            break;
        }
        default:
            text += static_cast<wchar_t>(L' ' + random.below(95));
            break;
        }
    }
    return text;
}

std::string kukaText(SoakRandom& random) {
    TextBuilder out;
    out << (random.chance(50) ? "DECL E6POS XP1=" : "");
    out << "{X " << decimal(random, 4, 2) << ",Y " << decimal(random, 3, 1);
    out << ",Z " << decimal(random, 4, 3) << ",A " << decimal(random, 2, 2);
    out << ",B " << decimal(random, 1, 3) << ",C " << decimal(random, 2, 1);
    out << (random.chance(50) ? ",S 6,T 27}" : "}");
    return out.text;
}

// A unit quaternion as its components are written in robot programs, seven
// decimals each: close enough to unit length for the reader.
std::string unitQuaternion(SoakRandom& random) {
    double q[4];
    double norm = 0.0;
    do {
        norm = 0.0;
        for (double& component : q) {
            component = static_cast<double>(random.below(2000001) - 1000000) / 1000000.0;
            norm += component * component;
        }
    } while (norm < 0.01);
    norm = std::sqrt(norm);
    std::string text;
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            text += ',';
        }
        text += fixed(q[k] / norm, 7);
    }
    return text;
}

std::string abbText(SoakRandom& random) {
    TextBuilder pose;
    pose << "[[" << decimal(random, 3, 2);
    pose << "," << decimal(random, 4, 1);
    pose << "," << decimal(random, 3, 0);
    pose << "],[" << unitQuaternion(random) << "]]";
    TextBuilder out;
    switch (random.below(4)) {
    case 0:
        out << "CONST robtarget p10:=[" << pose.text.substr(1, pose.text.size() - 2);
        out << ",[0,0,1,0],[9E9,9E9,9E9,9E9,9E9,9E9]];";
        break;
    case 1:
        out << "PERS tooldata tGrip:=[TRUE," << pose.text << ",[1,[0,0,1],[1,0,0,0],0,0,0]];";
        break;
    case 2:
        out << "PERS wobjdata wobj1:=[FALSE,TRUE,\"\"," << pose.text << "," << pose.text << "];";
        break;
    default:
        out << pose.text;
        break;
    }
    return out.text;
}

std::string fanucText(SoakRandom& random) {
    TextBuilder out;
    out << "UF : 1, UT : 1,  X = " << decimal(random, 4, 3);
    out << "  mm,  Y = " << decimal(random, 3, 3);
    out << "  mm,  Z = " << decimal(random, 3, 3);
    out << "  mm,   W = " << decimal(random, 2, 3);
    out << " deg,  P = " << decimal(random, 2, 3);
    out << " deg,  R = " << decimal(random, 2, 3) << " deg,";
    return out.text;
}

std::string robotText(SoakRandom& random) {
    switch (random.below(3)) {
    case 0:
        return kukaText(random);
    case 1:
        return abbText(random);
    default:
        return fanucText(random);
    }
}

// Well formed, but its quaternion is not of unit length.
std::string notUnitAbbText(SoakRandom& random) {
    const char* const quaternions[] = {"2,0,0,0", "0,0,0,0", "1,1,0,0", "0.5,0.5,0.5,0.4"};
    TextBuilder out;
    out << "[[" << decimal(random, 3, 2);
    out << "," << decimal(random, 3, 2);
    out << "," << decimal(random, 3, 2);
    out << "],[" << quaternions[random.below(4)] << "]]";
    return out.text;
}

std::string mangled(SoakRandom& random, std::string text) {
    const int changes = 1 + random.below(6);
    for (int i = 0; i < changes && !text.empty(); ++i) {
        const auto at = static_cast<std::size_t>(random.below(static_cast<int>(text.size())));
        const auto byte = static_cast<char>(1 + random.below(255));
        switch (random.below(3)) {
        case 0:
            text[at] = byte;
            break;
        case 1:
            text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), byte);
            break;
        default:
            text.erase(at, 1);
            break;
        }
    }
    return text;
}

bool emptyClipboard() {
    if (!openClipboardRetrying(nullptr)) {
        return false;
    }
    EmptyClipboard();
    CloseClipboard();
    return true;
}

} // namespace

std::wstring plausibleNumber(SoakRandom& random, double magnitude) {
    const double value =
        magnitude * static_cast<double>(random.below(2000001) - 1000000) / 1000000.0;
    return widen(fixed(value, random.below(8)));
}

std::wstring randomFieldText(SoakRandom& random) {
    switch (random.below(10)) {
    case 0:
    case 1:
    case 2:
        return plausibleNumber(random, random.chance(50) ? 180.0 : 5000.0);
    case 3:
        return widen(hostileAscii[random.below(sizeof hostileAscii / sizeof hostileAscii[0])]);
    case 4: // 30 characters or more
        return widen(decimal(random, 1 + random.below(25), 5 + random.below(30)));
    case 5: // huge or tiny, in exponent form
    {
        TextBuilder out;
        out << decimal(random, 1, random.below(8));
        out << (random.chance(50) ? "e" : "E");
        out << (random.chance(50) ? "-" : "");
        out << std::to_string(random.below(320));
        return widen(out.text);
    }
    case 6: // a number with a comma somewhere
    {
        std::string text = decimal(random, 1 + random.below(6), random.below(5));
        text.insert(static_cast<std::size_t>(random.below(static_cast<int>(text.size()) + 1)), 1,
                    ',');
        return widen(text);
    }
    case 7:
        return mixedUnits(random, random.below(40));
    case 8: // a number with non-ASCII around or inside it
    {
        std::wstring text = plausibleNumber(random, 1000.0);
        text.insert(static_cast<std::size_t>(random.below(static_cast<int>(text.size()) + 1)),
                    mixedUnits(random, 1 + random.below(3)));
        return text;
    }
    default: // long and plain
        return widen(digits(random, 30 + random.below(40)));
    }
}

std::wstring randomLineText(SoakRandom& random) {
    switch (random.below(4)) {
    case 0:
        return L"";
    case 1:
        return widen(robotText(random));
    case 2:
        return mixedUnits(random, random.below(200));
    default:
        return mixedUnits(random, 4000 + random.below(3000));
    }
}

ClipboardContent randomClipboardContent(SoakRandom& random) {
    ClipboardContent content{static_cast<ClipboardKind>(random.below(8)), {}};
    switch (content.kind) {
    case ClipboardKind::robotText:
        content.text = robotText(random);
        break;
    case ClipboardKind::mangledText:
        content.text =
            random.chance(20) ? notUnitAbbText(random) : mangled(random, robotText(random));
        break;
    case ClipboardKind::randomText: {
        const int length = random.chance(30) ? 4000 + random.below(20000) : random.below(300);
        for (int i = 0; i < length; ++i) {
            content.text += static_cast<char>(' ' + random.below(95));
        }
        break;
    }
    case ClipboardKind::emptyText:
        break;
    case ClipboardKind::binaryText: {
        const int length = 1 + (random.chance(20) ? random.below(10000) : random.below(600));
        for (int i = 0; i < length; ++i) {
            content.text += static_cast<char>(1 + random.below(255));
        }
        break;
    }
    case ClipboardKind::nonAscii: {
        content.text = robotText(random);
        const int count = 1 + random.below(8);
        for (int i = 0; i < count; ++i) {
            const auto at =
                static_cast<std::size_t>(random.below(static_cast<int>(content.text.size()) + 1));
            content.text.insert(at, 1, static_cast<char>(0x80 + random.below(128)));
        }
        break;
    }
    case ClipboardKind::picture:
    case ClipboardKind::nothing:
        break;
    }
    return content;
}

const char* clipboardKindName(ClipboardKind kind) {
    switch (kind) {
    case ClipboardKind::robotText:
        return "robot text";
    case ClipboardKind::mangledText:
        return "mangled robot text";
    case ClipboardKind::randomText:
        return "random text";
    case ClipboardKind::emptyText:
        return "empty text";
    case ClipboardKind::binaryText:
        return "binary-looking text";
    case ClipboardKind::nonAscii:
        return "non-ASCII text";
    case ClipboardKind::picture:
        return "picture";
    case ClipboardKind::nothing:
        return "nothing";
    }
    return "?";
}

bool putClipboardContent(const ClipboardContent& content) {
    switch (content.kind) {
    case ClipboardKind::picture:
        return putClipboardPicture();
    case ClipboardKind::nothing:
        return emptyClipboard();
    default:
        return putClipboardText(content.text);
    }
}

std::string printable(const std::string& text) {
    constexpr std::size_t shown = 120;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            out += "\\x" + hexUnit(byte, 2);
        }
    }
    if (text.size() > shown) {
        out += "... (" + std::to_string(text.size()) + " bytes)";
    }
    return out;
}

std::string printable(const std::wstring& text) {
    constexpr std::size_t shown = 120;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
        const auto unit = static_cast<unsigned>(text[i]);
        if (unit >= 0x20 && unit < 0x7F && unit != '\\') {
            out += static_cast<char>(unit);
        } else {
            out += "\\u" + hexUnit(unit, 4);
        }
    }
    if (text.size() > shown) {
        out += "... (" + std::to_string(text.size()) + " units)";
    }
    return out;
}
