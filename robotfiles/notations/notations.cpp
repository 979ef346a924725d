#include "robotfiles/notations/notations.h"

#include "robotfiles/fanuc/fanuc_writer.h"
#include "robotfiles/krl/krl_writer.h"
#include "robotfiles/notations/notation_fixed_axes.h"
#include "robotfiles/notations/notation_moving_axes.h"
#include "robotfiles/notations/notation_vector_quaternion.h"
#include "robotfiles/notations/vendor_notations.h"
#include "robotfiles/rapid/rapid_writer.h"
#include "robotfiles/scan_text.h"

namespace {

const Notation notations[] = {
    {"kuka", "KUKA", "x y z a b c", "mm, deg", "{X x, Y y, Z z, A a, B b, C c}",
     "Rz(A) * Ry(B) * Rx(C), fixed axes", true, recognizesKuka, readKuka, writeKuka, 6, kukaValues,
     krlFineText},
    {"abb", "ABB", "x y z q1 q2 q3 q4", "mm", "[[x, y, z], [q1, q2, q3, q4]]",
     "unit quaternion, q1 the scalar part", true, recognizesAbb, readAbb, writeAbb, 7, abbValues,
     rapidFineText},
    {"fanuc", "FANUC", "x y z w p r", "mm, deg",
     "X = x mm, Y = y mm, Z = z mm, W = w deg, P = p deg, R = r deg",
     "Rz(R) * Ry(P) * Rx(W), fixed axes", true, recognizesFanuc, readFanuc, writeFanuc, 6,
     fanucValues, fanucFineText},
    {"matrix", "homogeneous matrix",
     "m00 m01 m02 m03 m10 m11 m12 m13 m20 m21 m22 m23 m30 m31 m32 m33", "mm",
     "four rows of four numbers", "rotation in the upper 3x3, translation in column 3", false,
     recognizesMatrix, readMatrix, writeMatrix, 16, matrixValues},
    {"ur", "Universal Robots", "x y z rx ry rz", "m, rad", "p[x, y, z, rx, ry, rz]",
     "rotation vector, axis times angle", true, recognizesWith<urCodec>, readWith<urCodec>,
     writeWith<urCodec>, 6, valuesWith<urCodec>},
    {"yaskawa", "Yaskawa", "x y z rx ry rz", "mm, deg", "C00000=X,Y,Z,Rx,Ry,Rz",
     "Rz(Rz) * Ry(Ry) * Rx(Rx), fixed axes", true, recognizesWith<yaskawaCodec>,
     readWith<yaskawaCodec>, writeWith<yaskawaCodec>, 6, valuesWith<yaskawaCodec>},
    {"mitsubishi", "Mitsubishi", "x y z a b c", "mm, deg",
     "(X,Y,Z,A,B,C), flags (FL1,FL2) optional", "Rz(C) * Ry(B) * Rx(A), fixed axes", false,
     recognizesWith<mitsubishiCodec>, readWith<mitsubishiCodec>, writeWith<mitsubishiCodec>, 6,
     valuesWith<mitsubishiCodec>},
    {"techman", "Techman", "x y z rx ry rz", "mm, deg", "x,y,z,rx,ry,rz",
     "Rz(rz) * Ry(ry) * Rx(rx), fixed axes", false, recognizesWith<techmanCodec>,
     readWith<techmanCodec>, writeWith<techmanCodec>, 6, valuesWith<techmanCodec>},
    {"kawasaki", "Kawasaki", "x y z o a t", "mm, deg", "TRANS(x,y,z,o,a,t)",
     "Rz(O) * Ry(A) * Rz(T), Euler Z-Y-Z", true, recognizesWith<kawasakiCodec>,
     readWith<kawasakiCodec>, writeWith<kawasakiCodec>, 6, valuesWith<kawasakiCodec>},
    {"doosan", "Doosan", "x y z a b c", "mm, deg", "posx(x, y, z, a, b, c)",
     "Rz(a) * Ry(b) * Rz(c), Euler Z-Y-Z", true, recognizesWith<doosanCodec>, readWith<doosanCodec>,
     writeWith<doosanCodec>, 6, valuesWith<doosanCodec>},
    {"staubli", "Staubli", "x y z rx ry rz", "mm, deg", "{x, y, z, rx, ry, rz}",
     "Rx(rx) * Ry(ry) * Rz(rz), moving axes X-Y'-Z''", false, recognizesWith<staubliCodec>,
     readWith<staubliCodec>, writeWith<staubliCodec>, 6, valuesWith<staubliCodec>},
    {"ros", "ROS", "x y z qx qy qz qw", "m",
     "position: {x: x, y: y, z: z} and orientation: {x: qx, y: qy, z: qz, w: qw}, two lines",
     "unit quaternion x, y, z, w", true, recognizesWith<rosCodec>, readWith<rosCodec>,
     writeWith<rosCodec>, 7, valuesWith<rosCodec>},
    {"urdf", "URDF", "x y z roll pitch yaw", "m, rad",
     "<origin xyz=\"x y z\" rpy=\"roll pitch yaw\"/>", "Rz(yaw) * Ry(pitch) * Rx(roll), fixed axes",
     true, recognizesWith<urdfCodec>, readWith<urdfCodec>, writeWith<urdfCodec>, 6,
     valuesWith<urdfCodec>},
};

} // namespace

std::span<const Notation> allNotations() {
    return notations;
}

// Names are taken in any case, as options on a command line usually are.
const Notation* findNotation(std::string_view name) {
    for (const Notation& notation : notations) {
        if (equalsNoCase(name, notation.name)) {
            return &notation;
        }
    }
    return nullptr;
}

std::optional<Vendor> vendorOfNotation(const Notation* notation) {
    const std::string_view name = notation == nullptr ? "" : notation->name;
    if (name == "kuka") {
        return Vendor::kuka;
    }
    if (name == "abb") {
        return Vendor::abb;
    }
    if (name == "fanuc") {
        return Vendor::fanuc;
    }
    return std::nullopt;
}
