#include "robotfiles/notations/notation_form.h"

#include "math/number_text.h"
#include "robotfiles/scan_text.h"

namespace {

std::string formatNumber(double value, int decimals) {
    if (decimals == shortestDecimals) {
        return shortestDouble(value);
    }
    // Room for the widest double in fixed notation.
    char buffer[420];
    const int length = formatFixed(value, FixedFormat{decimals, 0, false}, buffer, sizeof buffer);
    return length < 0 ? shortestDouble(value)
                      : std::string(buffer, static_cast<std::size_t>(length));
}

// "-0.000" and "-0": a sign in front of nothing but zeros.
bool isSignedZero(const std::string& text) {
    if (text.size() < 2 || text[0] != '-') {
        return false;
    }
    return text.find_first_not_of("0.", 1) == std::string::npos;
}

std::string formatMember(double value, MemberFormat format) {
    std::string text = formatNumber(value, format.decimals);
    // An angle that would be shown as minus a half turn is shown as plus a
    // half turn, the same rotation inside the range (-180, 180].
    if (format.halfTurn > 0.0 && text == formatNumber(-format.halfTurn, format.decimals)) {
        text = formatNumber(format.halfTurn, format.decimals);
    }
    if (isSignedZero(text)) {
        text.erase(0, 1);
    }
    return text;
}

bool sameByte(char a, char b, bool ignoreCase) {
    return ignoreCase ? lowerByte(a) == lowerByte(b) : a == b;
}

} // namespace

std::string writeForm(const NotationForm& form, const double* values) {
    std::string text = form.pieces[0];
    for (std::size_t i = 0; i < form.members.size(); ++i) {
        text += formatMember(values[i], form.members[i]);
        text += form.pieces[i + 1];
    }
    return text;
}

bool readForm(const NotationForm& form, std::string_view text, std::size_t& pos, double* values) {
    std::size_t at = pos;
    for (std::size_t i = 0; i < form.members.size(); ++i) {
        if (!matchPiece(text, at, form.pieces[i], form.ignoreCase)) {
            return false;
        }
        at = skipBlanks(text, at);
        float value = 0.0f;
        std::size_t length = 0;
        if (!readNumberAt(text, at, value, length)) {
            return false;
        }
        values[i] = value;
        at += length;
    }
    if (!matchPiece(text, at, form.pieces[form.members.size()], form.ignoreCase)) {
        return false;
    }
    pos = at;
    return true;
}

bool matchPiece(std::string_view text, std::size_t& pos, std::string_view piece, bool ignoreCase) {
    std::size_t at = pos;
    bool blankBefore = false;  // a blank in the piece since the last character matched
    bool previousWord = false; // the last character matched was a letter or digit
    bool anyToken = false;
    for (const char c : piece) {
        if (isBlankByte(c)) {
            blankBefore = true;
            continue;
        }
        const bool word = isWordByte(c);
        if (!(previousWord && word && !blankBefore)) {
            const std::size_t after = skipBlanks(text, at);
            if (previousWord && word && after == at) {
                return false;
            }
            at = after;
        }
        if (at >= text.size() || !sameByte(text[at], c, ignoreCase)) {
            return false;
        }
        ++at;
        previousWord = word;
        blankBefore = false;
        anyToken = true;
    }
    if (!anyToken && blankBefore && (at >= text.size() || !isBlankByte(text[at]))) {
        return false;
    }
    pos = at;
    return true;
}

std::size_t digitRunLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && isDigitByte(text[end])) {
        ++end;
    }
    return end - pos;
}
