#include "robotfiles/notations/notation_moving_axes.h"

#include "math/euler_pose.h"

#include <cmath>

namespace {

// The core's test for the singular pitch, applied to the column of the axis
// that the middle turn can line up with the first: below this length its part
// across that axis is rounding noise and carries no direction.
constexpr double singularAcross = 1e-9;

// Three turns in degrees: first, middle and last.
struct Turns {
    double first = 0.0;
    double middle = 0.0;
    double last = 0.0;
};

double degreesOf(double y, double x) {
    return std::atan2(y, x) * degreesPerRadian;
}

// Rz(first) * Ry(middle) * Rz(last), the middle turn in [0, 180]. With the
// middle turn at 0 or 180 only first +- last is determined: all of it goes
// into the last turn.
Turns zyzTurns(const Transform& m) {
    const double m22 = at(m, 2, 2);
    const double across = std::hypot(at(m, 0, 2), at(m, 1, 2));
    Turns t;
    if (!(m22 < 1.0 && m22 > -1.0) || across < singularAcross) {
        t.middle = m22 > 0.0 ? 0.0 : halfTurnDegrees;
        t.last = degreesOf(at(m, 1, 0), at(m, 1, 1));
    } else {
        t.first = degreesOf(at(m, 1, 2), at(m, 0, 2));
        t.middle = degreesOf(across, m22);
        t.last = degreesOf(at(m, 2, 1), -at(m, 2, 0));
    }
    return t;
}

// Rx(first) * Ry(middle) * Rz(last), the middle turn in [-90, 90]. At +-90
// only first +- last is determined: all of it goes into the last turn.
Turns xyzTurns(const Transform& m) {
    const double m02 = at(m, 0, 2);
    Turns t;
    if (!(m02 < 1.0 && m02 > -1.0) || std::hypot(at(m, 1, 2), at(m, 2, 2)) < singularAcross) {
        t.middle = m02 > 0.0 ? 90.0 : -90.0;
        t.last = degreesOf(at(m, 1, 0), at(m, 1, 1));
    } else {
        t.first = degreesOf(-at(m, 1, 2), at(m, 2, 2));
        t.middle = std::asin(clampToRange(m02, -1.0, 1.0)) * degreesPerRadian;
        t.last = degreesOf(-at(m, 0, 1), at(m, 0, 0));
    }
    return t;
}

void turnMembers(const Transform& pose, Turns t, double* out) {
    translationMembers(pose, 1.0, out);
    out[3] = t.first;
    out[4] = t.middle;
    out[5] = t.last;
}

void zyzMembers(const Transform& pose, double* out) {
    turnMembers(pose, zyzTurns(pose), out);
}

void xyzMembers(const Transform& pose, double* out) {
    turnMembers(pose, xyzTurns(pose), out);
}

bool zyzTransform(const double* members, Transform& pose, std::string&) {
    pose = multiply(multiply(rotationZ(members[3] * radiansPerDegree),
                             rotationY(members[4] * radiansPerDegree)),
                    rotationZ(members[5] * radiansPerDegree));
    placeTranslation(members, 1.0, pose);
    return true;
}

bool xyzTransform(const double* members, Transform& pose, std::string&) {
    pose = multiply(multiply(rotationX(members[3] * radiansPerDegree),
                             rotationY(members[4] * radiansPerDegree)),
                    rotationZ(members[5] * radiansPerDegree));
    placeTranslation(members, 1.0, pose);
    return true;
}

constexpr MemberFormat millimetres{3, 0.0};
constexpr MemberFormat degrees{3, halfTurnDegrees};
constexpr MemberFormat middleDegrees{3, 0.0};
const MemberFormat turnMemberFormats[] = {millimetres, millimetres,   millimetres,
                                          degrees,     middleDegrees, degrees};

const char* const kawasakiPieces[] = {"TRANS(", ",", ",", ",", ",", ",", ")"};
const char* const doosanPieces[] = {"posx(", ", ", ", ", ", ", ", ", ", ", ")"};
const char* const staubliPieces[] = {"{", ", ", ", ", ", ", ", ", ", ", "}"};

} // namespace

// Kawasaki's AS language takes its words in either case.
const NotationCodec kawasakiCodec{
    .form = {.pieces = kawasakiPieces, .members = turnMemberFormats, .ignoreCase = true},
    .start = "TRANS(",
    .expected = "expected TRANS(x,y,z,o,a,t) (Kawasaki: mm and degrees)",
    .members = zyzMembers,
    .pose = zyzTransform,
};

const NotationCodec doosanCodec{
    .form = {.pieces = doosanPieces, .members = turnMemberFormats},
    .start = "posx(",
    .expected = "expected posx(x, y, z, a, b, c) (Doosan: mm and degrees)",
    .members = zyzMembers,
    .pose = zyzTransform,
};

const NotationCodec staubliCodec{
    .form = {.pieces = staubliPieces, .members = turnMemberFormats},
    .start = "{",
    .numberAfterStart = true,
    .expected = "expected {x, y, z, rx, ry, rz} (Staubli: mm and degrees)",
    .members = xyzMembers,
    .pose = xyzTransform,
};
