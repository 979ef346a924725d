#include "robotfiles/notations/notation_codec.h"

#include "robotfiles/scan_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

// No notation has more members than the matrix.
constexpr std::size_t maxMembers = 16;

// The double nearest to the float's shortest decimal with its decimal point
// moved `places` to the left: 370.469f and 3 give 0.370469.
double shiftedDecimal(float value, int places) {
    char text[40];
    const auto written = std::to_chars(text, text + 24, value, std::chars_format::scientific);
    char* const mark = std::find(text, written.ptr, 'e');
    if (written.ec != std::errc{} || mark == written.ptr) {
        return static_cast<double>(value);
    }
    int exponent = 0;
    std::from_chars(mark + (mark[1] == '+' ? 2 : 1), written.ptr, exponent);
    const auto end = std::to_chars(mark + 1, text + sizeof text, exponent - places);
    double shifted = 0.0;
    std::from_chars(text, end.ptr, shifted);
    return shifted;
}

} // namespace

bool recognizesCodec(const NotationCodec& codec, std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    if (codec.readLead != nullptr && !codec.readLead(text, pos)) {
        return false;
    }
    if (!matchPiece(text, pos, codec.start, codec.form.ignoreCase)) {
        return false;
    }
    if (codec.numberAfterStart) {
        float value = 0.0f;
        std::size_t length = 0;
        return readNumberAt(text, skipBlanks(text, pos), value, length);
    }
    // A start that ends in a word ends there: "<origin" is not "<originals".
    const std::string_view start = codec.start;
    return start.empty() || !isWordByte(start.back()) || pos >= text.size() ||
           !isWordByte(text[pos]);
}

bool readCodec(const NotationCodec& codec, std::string_view text, Transform& pose,
               NotationText& carried, std::string& message) {
    double members[maxMembers];
    std::string trail;
    std::size_t pos = skipBlanks(text, 0);
    const bool ofForm = codec.form.members.size() <= maxMembers &&
                        (codec.readLead == nullptr || codec.readLead(text, pos)) &&
                        readForm(codec.form, text, pos, members) &&
                        (codec.readTrail == nullptr || codec.readTrail(text, pos, trail)) &&
                        skipBlanks(text, pos) == text.size();
    if (!ofForm) {
        message = codec.expected;
        return false;
    }
    Transform read;
    if (!codec.pose(members, read, message)) {
        return false;
    }
    pose = read;
    carried.carried = trail;
    return true;
}

std::string writeCodec(const NotationCodec& codec, const Transform& pose,
                       const NotationText& carried) {
    double members[maxMembers];
    if (codec.form.members.size() > maxMembers) {
        return {};
    }
    codecValues(codec, pose, members);
    // Every notation's first three members are the translation.
    for (std::size_t i = 0; i < 3 && i < codec.form.members.size(); ++i) {
        if (codec.translationScale != 1.0 && codec.form.members[i].decimals != shortestDecimals) {
            members[i] = at(pose, static_cast<int>(i), 3) / codec.translationScale;
        }
    }
    std::string text = codec.writtenLead;
    text += writeForm(codec.form, members);
    if (codec.readTrail != nullptr) {
        text += carried.carried;
    }
    return text;
}

void codecValues(const NotationCodec& codec, const Transform& pose, double* out) {
    codec.members(pose, out);
    // An angle at or just below minus a half turn (atan2 of a negative zero)
    // is the same rotation as the half turn, which the range includes.
    for (std::size_t i = 0; i < codec.form.members.size(); ++i) {
        const double halfTurn = codec.form.members[i].halfTurn;
        if (halfTurn > 0.0 && out[i] <= -halfTurn) {
            out[i] += 2.0 * halfTurn;
        }
    }
}

double fromMillimetres(double millimetres, double scale) {
    // A translation read from a text went through a float, in millimetres
    // (KRL, RAPID, FANUC) or in metres (ROS, URDF). Given in metres it is the
    // decimal that was read, not that float's binary expansion divided by
    // 1000 (0.370469, not 0.370468994140625). Any other value was computed
    // and keeps every digit of its double.
    if (scale == millimetresPerMetre && std::fabs(millimetres) <= FLT_MAX) {
        const float asMillimetres = static_cast<float>(millimetres);
        if (static_cast<double>(asMillimetres) == millimetres) {
            return shiftedDecimal(asMillimetres, 3);
        }
        const float asMetres = static_cast<float>(millimetres / scale);
        if (static_cast<double>(asMetres) * scale == millimetres) {
            return shiftedDecimal(asMetres, 0);
        }
    }
    return millimetres / scale;
}

void translationMembers(const Transform& pose, double scale, double* out) {
    for (int i = 0; i < 3; ++i) {
        out[i] = fromMillimetres(at(pose, i, 3), scale);
    }
}

void placeTranslation(const double* members, double scale, Transform& pose) {
    for (int i = 0; i < 3; ++i) {
        at(pose, i, 3) = members[i] * scale;
    }
}
