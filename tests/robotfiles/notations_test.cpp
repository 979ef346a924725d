#include "robotfiles/notations/notations.h"

#include "math/euler_pose.h"
#include "tests/math/matrix_assert.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double pi = 3.14159265358979323846;

double deg(double degrees) {
    return degrees * pi / 180.0;
}

Transform turns(Transform a, Transform b, Transform c) {
    return multiply(multiply(a, b), c);
}

Transform placed(Transform m, double x, double y, double z) {
    at(m, 0, 3) = x;
    at(m, 1, 3) = y;
    at(m, 2, 3) = z;
    return m;
}

// A turn of 180 degrees about Y: the tool points straight down. KUKA A = 180,
// B = 0, C = 180 and FANUC W = 180, P = 0, R = 180 describe it too.
const Transform down{{-1, 0, 0, 500, 0, 1, 0, -250, 0, 0, -1, 1000, 0, 0, 0, 1}};
// A turn of 120 degrees about (1, 1, 1): x goes to y, y to z, z to x. Its
// quaternion is (0.5, 0.5, 0.5, 0.5); its rotation vector has three equal
// components of 2 pi / (3 sqrt 3) = 1.2091996; it is Rz(90) * Rx(90) and
// Ry(90) * Rz(90).
const Transform diagonal{{0, 0, 1, 500, 1, 0, 0, -250, 0, 1, 0, 1000, 0, 0, 0, 1}};

// How far a read-back pose may lie from the written one: the printed decimals
// plus the float the reader rounds each number to. A notation takes part in
// the loops below once it has a row here.
struct Tolerance {
    const char* name;
    double rotation;
    double translation; // mm
};
const Tolerance tolerances[] = {
    {"kuka", 2e-4, 6e-3},       {"abb", 1e-6, 6e-3},     {"fanuc", 3e-5, 1e-3},
    {"matrix", 1e-6, 6e-3},     {"ur", 3e-6, 1e-3},      {"yaskawa", 5e-6, 1e-3},
    {"mitsubishi", 3e-5, 1e-3}, {"techman", 3e-5, 1e-3}, {"kawasaki", 3e-5, 1e-3},
    {"doosan", 3e-5, 1e-3},     {"staubli", 3e-5, 1e-3}, {"ros", 1e-6, 2e-4},
    {"urdf", 1e-6, 2e-4},
};

const Tolerance* toleranceOf(const Notation& n) {
    for (const Tolerance& t : tolerances) {
        if (std::string(t.name) == n.name) {
            return &t;
        }
    }
    return nullptr;
}

::testing::AssertionResult readsAs(const Notation& n, const std::string& text,
                                   const Transform& expected) {
    const Tolerance* tolerance = toleranceOf(n);
    if (tolerance == nullptr) {
        return ::testing::AssertionFailure() << "no tolerance for " << n.name;
    }
    Transform read;
    NotationText carried;
    std::string message;
    if (!n.read(text, read, carried, message)) {
        return ::testing::AssertionFailure() << "refused " << text << ": " << message;
    }
    ::testing::AssertionResult rotation = rotationsNear(expected, read, tolerance->rotation);
    return rotation ? transformsNear(expected, read, tolerance->translation) << text
                    : rotation << text;
}

std::vector<Transform> hardPoses() {
    const Transform none = identityTransform();
    const Transform zy = rotationZ(deg(30));
    std::vector<Transform> poses = {
        none, rotationX(1e-9), turns(rotationZ(-1e-12), rotationY(3e-10), none),
        // Half turns and turns a little short of them.
        rotationX(pi), rotationY(pi), rotationZ(pi), rotationX(pi - 1e-10), rotationX(pi - 1e-6),
        rotationY(-(pi - 1e-9)), turns(rotationZ(deg(45)), rotationX(pi), rotationZ(deg(-45))),
        // Angles at +-180.
        turns(rotationZ(-pi), rotationY(0.3), rotationX(-pi)),
        // Fixed-axes pitch at and near +-90.
        turns(zy, rotationY(pi / 2), rotationX(deg(40))),
        turns(zy, rotationY(-pi / 2), rotationX(deg(40))),
        turns(zy, rotationY(pi / 2 - 1e-9), rotationX(deg(40))),
        // Z-Y-Z middle turn at and near 0 and 180.
        turns(zy, rotationY(1e-9), rotationZ(deg(40))),
        turns(zy, rotationY(pi), rotationZ(deg(40))),
        turns(zy, rotationY(pi - 1e-7), rotationZ(deg(40))),
        // X-Y'-Z'' middle turn at and near +-90.
        turns(rotationX(deg(30)), rotationY(pi / 2), rotationZ(deg(40))),
        turns(rotationX(deg(30)), rotationY(-pi / 2 + 1e-8), rotationZ(deg(40))),
        // An ulp short of those singular turns, with rounding noise across the
        // locked axis that would turn the first and last angles anywhere.
        Transform{{0, -1, 0, 0, 1, 0, 1e-12, 0, 1e-12, 0, 0.9999999999999999, 0, 0, 0, 0, 1}},
        Transform{{1e-12, 0, 0.9999999999999999, 0, 1, 0, 1e-12, 0, 0, 1, -1e-12, 0, 0, 0, 0, 1}}};
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> angle(-pi, pi);
    std::uniform_real_distribution<double> position(-3000.0, 3000.0);
    for (int i = 0; i < 200; ++i) {
        poses.push_back(
            turns(rotationZ(angle(rng)), rotationY(angle(rng) / 2), rotationX(angle(rng))));
    }
    for (Transform& pose : poses) {
        pose = placed(pose, position(rng), position(rng), position(rng));
    }
    poses.push_back(placed(rotationZ(pi), 1e-4, -1e-4, 0.0));
    return poses;
}

TEST(NotationTable, NamesMembersAndCountsAgree) {
    for (const Notation& n : allNotations()) {
        SCOPED_TRACE(n.name);
        std::istringstream words(n.members);
        int count = 0;
        for (std::string word; words >> word;) {
            ++count;
        }
        EXPECT_EQ(count, n.memberCount);
        EXPECT_EQ(findNotation(n.name), &n);
    }
    EXPECT_EQ(findNotation("UR"), findNotation("ur"));
    EXPECT_EQ(findNotation("fanuk"), nullptr);
}

TEST(NotationRoundTrip, WrittenPosesReadBack) {
    const std::vector<Transform> poses = hardPoses();
    for (const Notation& n : allNotations()) {
        if (toleranceOf(n) == nullptr) {
            continue;
        }
        for (std::size_t i = 0; i < poses.size(); ++i) {
            SCOPED_TRACE(std::string(n.name) + " pose " + std::to_string(i));
            const std::string text = n.write(poses[i], {});
            EXPECT_TRUE(n.recognizes(text));
            EXPECT_TRUE(readsAs(n, text, poses[i]));
            // Minus a half turn is outside every range and shown as plus a half
            // turn; the window's own notations keep the window's formats.
            const std::string name = n.name;
            if (name != "kuka" && name != "abb" && name != "fanuc" && name != "matrix") {
                EXPECT_EQ(text.find("-180.000"), std::string::npos) << text;
            }
            EXPECT_EQ(text.find("-3.141592653589793"), std::string::npos) << text;
        }
    }
}

// Worked out by hand from the two poses above; every notation's reader must
// give the same matrix for the same pose. The rotation's members follow the
// translation (500, -250, 1000) mm.
TEST(NotationHandChecked, WritesAndReadsTheSamePose) {
    // Where a rotation has two descriptions the sign rule picks one: a turn
    // just short of a half turn about -Y (w slightly above 0), and a half turn
    // about u = (-0.6, 0.8, 0), whose matrix 2uu' - I is worked out by hand.
    const Transform shortOfHalfY = placed(rotationY(-(pi - 1e-10)), 500, -250, 1000);
    const Transform halfTurn{
        {-0.28, -0.96, 0, 500, -0.96, 0.28, 0, -250, 0, 0, -1, 1000, 0, 0, 0, 1}};
    struct Case {
        const char* name;
        const Transform* pose;
        const char* text; // nullptr: the members only
        double rotation[4];
    };
    const double third = 2 * pi / (3 * std::sqrt(3.0));
    const Case cases[] = {
        {"ur", &down, "p[0.500000, -0.250000, 1.000000, 0.000000, 3.141593, 0.000000]", {0, pi, 0}},
        {"ur",
         &diagonal,
         "p[0.500000, -0.250000, 1.000000, 1.209200, 1.209200, 1.209200]",
         {third, third, third}},
        {"ur", &shortOfHalfY, nullptr, {0, pi, 0}},
        {"ur", &halfTurn, nullptr, {-0.6 * pi, 0.8 * pi, 0}},
        {"yaskawa",
         &down,
         "C00000=500.000,-250.000,1000.000,180.0000,0.0000,180.0000",
         {180, 0, 180}},
        {"yaskawa",
         &diagonal,
         "C00000=500.000,-250.000,1000.000,90.0000,0.0000,90.0000",
         {90, 0, 90}},
        {"mitsubishi", &down, "(500.000,-250.000,1000.000,180.000,0.000,180.000)", {180, 0, 180}},
        {"mitsubishi", &diagonal, "(500.000,-250.000,1000.000,90.000,0.000,90.000)", {90, 0, 90}},
        {"techman", &down, "500.000,-250.000,1000.000,180.000,0.000,180.000", {180, 0, 180}},
        {"techman", &diagonal, "500.000,-250.000,1000.000,90.000,0.000,90.000", {90, 0, 90}},
        // Z-Y-Z: at A = 180 O is 0 and T takes the turn; (1, 1, 1) is Ry(90) * Rz(90).
        {"kawasaki", &down, "TRANS(500.000,-250.000,1000.000,0.000,180.000,0.000)", {0, 180, 0}},
        {"kawasaki",
         &diagonal,
         "TRANS(500.000,-250.000,1000.000,0.000,90.000,90.000)",
         {0, 90, 90}},
        {"doosan", &down, "posx(500.000, -250.000, 1000.000, 0.000, 180.000, 0.000)", {0, 180, 0}},
        {"doosan",
         &diagonal,
         "posx(500.000, -250.000, 1000.000, 0.000, 90.000, 90.000)",
         {0, 90, 90}},
        // Rx(180) * Rz(180); at ry = 90 rx is 0 and rz takes the turn.
        {"staubli", &down, "{500.000, -250.000, 1000.000, 180.000, 0.000, 180.000}", {180, 0, 180}},
        {"staubli", &diagonal, "{500.000, -250.000, 1000.000, 0.000, 90.000, 90.000}", {0, 90, 90}},
        {"ros",
         &down,
         "position: {x: 0.5, y: -0.25, z: 1}\norientation: {x: 0, y: 1, z: 0, w: 0}",
         {0, 1, 0, 0}},
        {"ros",
         &diagonal,
         "position: {x: 0.5, y: -0.25, z: 1}\norientation: {x: 0.5, y: 0.5, z: 0.5, w: 0.5}",
         {0.5, 0.5, 0.5, 0.5}},
        {"ros", &shortOfHalfY, nullptr, {0, -1, 0, 0}},
        {"ros", &halfTurn, nullptr, {0.6, -0.8, 0, 0}},
        {"urdf",
         &down,
         "<origin xyz=\"0.5 -0.25 1\" rpy=\"3.141592653589793 0 3.141592653589793\"/>",
         {pi, 0, pi}},
        {"urdf",
         &diagonal,
         "<origin xyz=\"0.5 -0.25 1\" rpy=\"1.5707963267948966 0 1.5707963267948966\"/>",
         {pi / 2, 0, pi / 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + (c.text ? c.text : "members"));
        const Notation& n = *findNotation(c.name);
        if (c.text != nullptr) {
            EXPECT_TRUE(readsAs(n, c.text, *c.pose));
            EXPECT_EQ(n.write(*c.pose, {}), c.text);
        }
        double values[16];
        n.values(*c.pose, values);
        const double unit = std::string(n.units).starts_with("mm") ? 1.0 : 1000.0;
        const double translation[] = {500 / unit, -250 / unit, 1000 / unit};
        for (int i = 0; i < n.memberCount; ++i) {
            EXPECT_NEAR(values[i], i < 3 ? translation[i] : c.rotation[i - 3], 1e-9) << i;
        }
    }
}

// A translation read as a float, in millimetres or in metres, is given in
// metres as the decimal that was read; a computed one keeps its double's digits.
TEST(NotationMetres, TranslationsReadAsFloatsKeepTheirDecimals) {
    const struct {
        const char* from;
        const char* text;
        const char* to;
        const char* expected; // a part of the written text
    } cases[] = {
        {"kuka", "{X 370.469, Y 830.05, Z 339.01, A 10, B 20, C 30}", "ros",
         "position: {x: 0.370469, y: 0.83005, z: 0.33901}\n"},
        {"kuka", "{X 370.469, Y 830.05, Z 339.01, A 10, B 20, C 30}", "urdf",
         "xyz=\"0.370469 0.83005 0.33901\""},
        {"fanuc", "X = -0.001 mm, Y = 1234567 mm, Z = 0 mm, W = 0 deg, P = 0 deg, R = 0 deg", "ros",
         "position: {x: -1e-06, y: 1234.567, z: 0}\n"},
        {"ros", "position: {x: 0.370469, y: -0.1, z: 1e-05}\norientation: {x: 0, y: 0, z: 0, w: 1}",
         "ros", "position: {x: 0.370469, y: -0.1, z: 1e-05}\n"},
        {"urdf", "<origin xyz=\"0.1 0.2 0.3\" rpy=\"0 0 0\"/>", "urdf", "xyz=\"0.1 0.2 0.3\""},
        {"urdf", "<origin xyz=\"0.1 0.2 0.3\" rpy=\"0 0 0\"/>", "ros",
         "position: {x: 0.1, y: 0.2, z: 0.3}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " to " + c.to + ": " + c.text);
        Transform pose;
        NotationText carried;
        std::string message;
        ASSERT_TRUE(findNotation(c.from)->read(c.text, pose, carried, message)) << message;
        EXPECT_NE(findNotation(c.to)->write(pose, {}).find(c.expected), std::string::npos)
            << findNotation(c.to)->write(pose, {});
    }
    // Computed: a third of a millimetre is no float's decimal.
    const Transform third = placed(identityTransform(), 1.0 / 3.0, 0, 0);
    EXPECT_EQ(findNotation("ros")->write(third, {}).substr(0, 35),
              "position: {x: 0.0003333333333333333");
}

// Blanks, line breaks, letter case and number spellings that must all read as
// the diagonal pose; Mitsubishi's flags are carried to its writer.
TEST(NotationHandChecked, ReadsEquivalentSpellings) {
    struct Case {
        const char* name;
        const char* text;
        const char* carried;
    };
    const Case cases[] = {
        {"ur", "\tp[ 0.5,-0.25 ,1e0, 1.2092,1.2092,1.2092 ]\r\n", ""},
        {"yaskawa", " C12 = 500,-250,1000 ,90,0,+90", ""},
        {"mitsubishi", " ( 500 , -250 , 1000 , 90 , 0 , 90 ) ( 7 , 0 ) ", "(7,0)"},
        {"mitsubishi", "(500,-250,1000,90,0,90)", ""},
        {"techman", "500, -250, 1000, 90, 0, 90\n", ""},
        {"kawasaki", "trans(500,-250,1000,0,90,90)", ""},
        {"doosan", "posx( 500,-250,1000,0,90,90 )", ""},
        {"staubli", "{500,-250,1000,-0,90,90}", ""},
        {"ros",
         "position: {x: .5, y: -.25, z: 1}\n  orientation:\n {x: 0.5, y: 0.5, z: 0.5, w: 0.5}", ""},
        {"urdf", "<origin  xyz = \" 0.5\t-0.25 1 \" rpy=\"1.5707963 0 1.5707963\" />", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Notation& n = *findNotation(c.name);
        EXPECT_TRUE(n.recognizes(c.text));
        EXPECT_TRUE(readsAs(n, c.text, diagonal));
        Transform pose;
        NotationText carried{"left over"};
        std::string message;
        ASSERT_TRUE(n.read(c.text, pose, carried, message));
        EXPECT_EQ(carried.carried, c.carried);
        if (*c.carried != '\0') {
            EXPECT_TRUE(n.write(pose, carried).ends_with(std::string(")") + c.carried));
        }
    }
}

TEST(NotationRefused, TextsNotOfTheForm) {
    struct Case {
        const char* name;
        const char* text;
        const char* message = "expected"; // how the message starts
    };
    const Case cases[] = {
        {"ur", "p[0.5, -0.25, 1, 0, 3.14]"},
        {"ur", "P[0.5, -0.25, 1, 0, 3.14, 0]"},
        {"ur", "p[1e39, 0, 0, 0, 0, 0]"},
        {"yaskawa", "C=500,-250,1000,90,0,90"},
        {"yaskawa", "C00000=500,-250,1000,90,0,90,0"},
        {"mitsubishi", "(500,-250,1000,90,0)"},
        {"mitsubishi", "(500,-250,1000,90,0,90)(7)"},
        {"mitsubishi", "(500,-250,1000,90,0,90)(7,0)(7,0)"},
        {"techman", "500,-250,1000,90,0,90,"},
        {"techman", "500 -250 1000 90 0 90"},
        {"kawasaki", "TRANS(500,-250,1000,0,90,90,1)"},
        {"doosan", "POSX(500, -250, 1000, 0, 90, 90)"},
        {"staubli", "{500, -250, 1000, 0, 90, 90"},
        {"staubli", "{500, -250, 1000, nan, 90, 90}"},
        {"ros", "position: {x: 0.5, y: -0.25, z: 1}\norientation: {x: 0.5, y: 0.5, z: 0.5}"},
        {"ros", "orientation: {x: 0, y: 0, z: 0, w: 1}\nposition: {x: 0.5, y: -0.25, z: 1}"},
        {"ros", "position: {x: 0, y: 0, z: 0}\norientation: {x: 0, y: 0, z: 0, w: 1.001}",
         "Unit length quaternion expected"},
        {"ros", "position: {x: 0, y: 0, z: 0}\norientation: {x: 0, y: 0, z: 0, w: 0}",
         "Unit length quaternion expected"},
        {"urdf", "<origin xyz=\"0.5 -0.25\" rpy=\"0 0 0\"/>"},
        {"urdf", "<origin rpy=\"0 0 0\" xyz=\"0.5 -0.25 1\"/>"},
        {"urdf", "<originxyz=\"0.5 -0.25 1\" rpy=\"0 0 0\"/>"},
    };
    const Transform untouched = placed(rotationX(1.0), 7, 8, 9);
    auto expectRefused = [&](const Notation& n, const std::string& text, const char* start) {
        Transform pose = untouched;
        NotationText carried{"kept"};
        std::string message;
        EXPECT_FALSE(n.read(text, pose, carried, message)) << n.name << " read " << text;
        EXPECT_EQ(message.rfind(start, 0), 0u) << message;
        EXPECT_TRUE(transformsNear(untouched, pose, 0.0));
        EXPECT_EQ(carried.carried, "kept");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        expectRefused(*findNotation(c.name), c.text, c.message);
    }
    // Empty text, garbage, and every other notation's text.
    for (const Notation& reader : allNotations()) {
        if (toleranceOf(reader) == nullptr) {
            continue;
        }
        SCOPED_TRACE(reader.name);
        for (const char* text : {"", " \n ", "garbage", "\x01\xff("}) {
            expectRefused(reader, text, "expected");
        }
        for (const Notation& writer : allNotations()) {
            const std::string text = writer.write(diagonal, {});
            if (&writer == &reader || text.empty()) {
                continue;
            }
            expectRefused(reader, text, "expected");
            if (reader.unambiguous) {
                EXPECT_FALSE(reader.recognizes(text)) << text;
            }
        }
    }
}

} // namespace
