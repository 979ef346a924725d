#include "robotfiles/notations/notation_fixed_axes.h"

#include "math/euler_pose.h"
#include "robotfiles/scan_text.h"

#include <initializer_list>

namespace {

// Members x, y, z and the turns about X, Y and Z, in mm and degrees. The
// core's a, b, c are the turns about Z, Y and X.
void fixedAxesMembers(const Transform& pose, double* out) {
    const EulerPose p = eulerPoseFromTransform(pose);
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
    out[3] = p.c;
    out[4] = p.b;
    out[5] = p.a;
}

EulerPose fixedAxesPose(const double* members) {
    EulerPose p;
    p.x = members[0];
    p.y = members[1];
    p.z = members[2];
    p.a = members[5];
    p.b = members[4];
    p.c = members[3];
    return p;
}

bool fixedAxesTransform(const double* members, Transform& pose, std::string&) {
    pose = transformFromEulerPose(fixedAxesPose(members));
    return true;
}

// URDF: metres and radians.
void urdfMembers(const Transform& pose, double* out) {
    fixedAxesMembers(pose, out);
    for (int i = 0; i < 3; ++i) {
        out[i] = fromMillimetres(out[i], millimetresPerMetre);
        out[i + 3] *= radiansPerDegree;
    }
}

bool urdfTransform(const double* members, Transform& pose, std::string&) {
    double inUnits[6];
    for (int i = 0; i < 3; ++i) {
        inUnits[i] = members[i] * millimetresPerMetre;
        inUnits[i + 3] = members[i + 3] * degreesPerRadian;
    }
    pose = transformFromEulerPose(fixedAxesPose(inUnits));
    return true;
}

// Yaskawa's position variable, "C" and its number: any number is read, the
// pose is the same whichever variable holds it.
bool readPositionVariable(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != 'C') {
        return false;
    }
    const std::size_t digits = digitRunLength(text, pos + 1);
    if (digits == 0) {
        return false;
    }
    pos += 1 + digits;
    return true;
}

// Mitsubishi's flags group "(7,0)" after the position, kept as written
// without blanks so the writer can give it back; no group carries nothing.
bool readFlags(std::string_view text, std::size_t& pos, std::string& carried) {
    std::size_t at = pos;
    if (!matchPiece(text, at, "(", false)) {
        return true;
    }
    std::string flags = "(";
    for (const char* after : {",", ")"}) {
        at = skipBlanks(text, at);
        const std::size_t digits = digitRunLength(text, at);
        if (digits == 0) {
            return false;
        }
        flags.append(text.substr(at, digits));
        at += digits;
        if (!matchPiece(text, at, after, false)) {
            return false;
        }
        flags += after;
    }
    carried = flags;
    pos = at;
    return true;
}

// The turn about Y lies in [-90, 90]: it is never wrapped as the other two are.
constexpr MemberFormat millimetres{3, 0.0};
constexpr MemberFormat degrees{3, halfTurnDegrees};
constexpr MemberFormat pitchDegrees{3, 0.0};
constexpr MemberFormat yaskawaDegrees{4, halfTurnDegrees};
constexpr MemberFormat yaskawaPitch{4, 0.0};
constexpr MemberFormat metres{shortestDecimals, 0.0};
constexpr MemberFormat radians{shortestDecimals, halfTurnRadians};
constexpr MemberFormat pitchRadians{shortestDecimals, 0.0};

const MemberFormat yaskawaMembers[] = {millimetres,    millimetres,  millimetres,
                                       yaskawaDegrees, yaskawaPitch, yaskawaDegrees};
const MemberFormat threeDecimalMembers[] = {millimetres, millimetres,  millimetres,
                                            degrees,     pitchDegrees, degrees};
const MemberFormat urdfMemberFormats[] = {metres, metres, metres, radians, pitchRadians, radians};

const char* const yaskawaPieces[] = {"=", ",", ",", ",", ",", ",", ""};
const char* const mitsubishiPieces[] = {"(", ",", ",", ",", ",", ",", ")"};
const char* const techmanPieces[] = {"", ",", ",", ",", ",", ",", ""};
const char* const urdfPieces[] = {"<origin xyz=\"", " ", " ", "\" rpy=\"", " ", " ", "\"/>"};

} // namespace

const NotationCodec yaskawaCodec{
    .form = {.pieces = yaskawaPieces, .members = yaskawaMembers},
    .start = "=",
    .expected = "expected C00000=X,Y,Z,Rx,Ry,Rz (Yaskawa: mm and degrees)",
    .members = fixedAxesMembers,
    .pose = fixedAxesTransform,
    .readLead = readPositionVariable,
    .writtenLead = "C00000",
};

const NotationCodec mitsubishiCodec{
    .form = {.pieces = mitsubishiPieces, .members = threeDecimalMembers},
    .start = "(",
    .numberAfterStart = true,
    .expected = "expected (X,Y,Z,A,B,C) or (X,Y,Z,A,B,C)(FL1,FL2) (Mitsubishi: mm and degrees)",
    .members = fixedAxesMembers,
    .pose = fixedAxesTransform,
    .readTrail = readFlags,
};

const NotationCodec techmanCodec{
    .form = {.pieces = techmanPieces, .members = threeDecimalMembers},
    .start = "",
    .numberAfterStart = true,
    .expected = "expected x,y,z,rx,ry,rz (Techman: mm and degrees)",
    .members = fixedAxesMembers,
    .pose = fixedAxesTransform,
};

const NotationCodec urdfCodec{
    .form = {.pieces = urdfPieces, .members = urdfMemberFormats},
    .start = "<origin",
    .expected =
        "expected <origin xyz=\"x y z\" rpy=\"roll pitch yaw\"/> (URDF: metres and radians)",
    .members = urdfMembers,
    .pose = urdfTransform,
};
