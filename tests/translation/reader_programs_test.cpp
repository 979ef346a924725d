// Whole programs through the readers: every line of every fixture in a
// statement, and the way there and back for the six directions, compared
// motion by motion: the same poses in the same order, the same references
// through the inverse maps, the same exact speeds and stops.

#include "math/transform.h"
#include "tests/translation/read_translate.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using K = Vendor;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Maps {
    std::vector<std::string> frames, tools, signals, blends;
    double jointSpeed = 0;
};

struct Direction {
    K to;
    Maps there;
    Maps back;
};

struct Fixture {
    ProgramInfo info;
    std::vector<std::string> paths; // in the order of info.files
    std::vector<Direction> directions;
    std::size_t motions = 0; // translated, not kept
};

std::string sources(const char* name) {
    return std::string(POSEBRIDGE_SOURCE_PROGRAMS) + "/" + name;
}
std::string cell(const char* name) {
    return std::string(POSEBRIDGE_EXAMPLE_CELL) + "/" + name;
}

std::vector<Fixture> fixtures() {
    return {
        {{"pick", K::kuka, {"pick.dat", "pick.src"}, "pick"},
         {sources("kuka/pick.dat"), sources("kuka/pick.src")},
         {{K::abb,
           {{"3=wobjTray"},
            {"1=tGripper"},
            {"$OUT[3]=doGrip", "$IN[2]=diPart"},
            {"C_PTP100=z50"},
            1500},
           {{"wobjTray=3"}, {"tGripper=1"}, {"doGrip=$OUT[3]", "diPart=$IN[2]"}, {}, 1500}},
          {K::fanuc,
           {{"3=3"},
            {"1=1"},
            {"$OUT[3]=DO[3]", "$IN[2]=DI[2]"},
            {"C_PTP100=CNT100", "C_DIS20=CNT20", "C_DIS5=CNT5"},
            0},
           {{"3=3"},
            {"1=1"},
            {"DO[3]=$OUT[3]", "DI[2]=$IN[2]"},
            {"CNT100=C_PTP100", "CNT20=C_DIS20", "CNT5=C_DIS5"},
            0}}},
         7},
        {{"Seam", K::abb, {"Seam.mod"}, "main"},
         {sources("abb/Seam.mod")},
         {{K::kuka,
           {{"wDoor=5"},
            {"tNozzle=2"},
            {"doSealer=$OUT[7]", "diClamp=$IN[4]", "doDone=$OUT[8]"},
            {},
            2000},
           {{"5=wDoor"},
            {"2=tNozzle"},
            {"$OUT[7]=doSealer", "$IN[4]=diClamp", "$OUT[8]=doDone"},
            {},
            2000}},
          {K::fanuc,
           {{"wDoor=5"},
            {"tNozzle=2"},
            {"doSealer=DO[7]", "diClamp=DI[4]", "doDone=DO[8]"},
            {"z50=CNT80", "z10=CNT30", "zSeal=CNT10"},
            2000},
           {{"5=wDoor"},
            {"2=tNozzle"},
            {"DO[7]=doSealer", "DI[4]=diClamp", "DO[8]=doDone"},
            {"CNT80=z50", "CNT30=z10", "CNT10=z5"},
            2000}}},
         5},
        {{"DEBURR", K::fanuc, {"DEBURR.LS"}, ""},
         {sources("fanuc/DEBURR.LS")},
         {{K::kuka,
           {{"2=2"},
            {"4=4"},
            {"DO[12]=$OUT[12]", "DI[5]=$IN[5]", "DO[14]=$OUT[14]"},
            {"CNT50=C_PTP50", "CNT20=C_DIS5"},
            0},
           {{"2=2"},
            {"4=4"},
            {"$OUT[12]=DO[12]", "$IN[5]=DI[5]", "$OUT[14]=DO[14]"},
            {"C_PTP50=CNT50", "C_DIS5=CNT20"},
            0}},
          {K::abb,
           {{"2=wHousing"},
            {"4=tBurr"},
            {"DO[12]=doSpindle", "DI[5]=diAtSpeed", "DO[14]=doBlow"},
            {"CNT50=z20", "CNT20=z5"},
            2000},
           {{"wHousing=2"},
            {"tBurr=4"},
            {"doSpindle=DO[12]", "diAtSpeed=DI[5]", "doBlow=DO[14]"},
            {"z20=CNT50", "z5=CNT20"},
            2000}}},
         4},
        {{"Weld", K::abb, {"Weld.mod"}, "main"},
         {cell("RAPID/Weld.mod")},
         {{K::kuka, {{"wobj0=1"}, {"tTorch=1"}, {}, {}, 0}, {{"1=wobj0"}, {"1=tTorch"}, {}, {}, 0}},
          {K::fanuc,
           {{"wobj0=1"}, {"tTorch=1"}, {}, {}, 0},
           {{"1=wobj0"}, {"1=tTorch"}, {}, {}, 0}}},
         1},
        {{"GLUE", K::fanuc, {"GLUE.LS"}, ""},
         {cell("fanuc/GLUE.LS")},
         {{K::kuka,
           {{"0=1"}, {"1=1"}, {}, {"CNT100=C_DIS10"}, 0},
           {{"1=0"}, {"1=1"}, {}, {"C_DIS10=CNT100"}, 0}},
          {K::abb,
           {{"0=wobjGlue"}, {"1=tGun"}, {}, {"CNT100=z50"}, 0},
           {{"wobjGlue=0"}, {"tGun=1"}, {}, {"z50=CNT100"}, 0}}},
         6},
        {{"pallet", K::kuka, {"pallet.dat"}, "pallet"},
         {cell("KRC/R1/Program/pallet.dat")},
         {{K::abb, {}, {}}, {K::fanuc, {}, {}}},
         0},
    };
}

TranslationOptions optionsOf(K from, K to, const Maps& m) {
    return parsedOptions(from, to, m.frames, m.tools, m.signals, m.blends, m.jointSpeed);
}

std::vector<std::string> textsOf(const Fixture& f) {
    std::vector<std::string> texts;
    for (const std::string& path : f.paths) {
        texts.push_back(readFile(path));
    }
    return texts;
}

// The programs a translation wrote, each with its files in reading order.
struct TargetProgram {
    ProgramInfo info;
    std::vector<std::string> texts;
};

std::vector<TargetProgram> targetPrograms(const Translated& t) {
    std::vector<TargetProgram> programs;
    const std::vector<std::string>& names = t.files.names;
    for (const std::string& name : names) {
        const std::size_t dot = name.rfind('.');
        const std::string stem = name.substr(0, dot);
        const std::string extension = name.substr(dot + 1);
        if (extension == "dat") {
            continue; // with its .src
        }
        TargetProgram p;
        if (extension == "src") {
            p.info = ProgramInfo{stem, K::kuka, {stem + ".dat", name}, stem};
            p.texts = {t.files.bytes(stem + ".dat"), t.files.bytes(name)};
        } else if (extension == "mod") {
            p.info = ProgramInfo{stem, K::abb, {name}, "main"};
            p.texts = {t.files.bytes(name)};
        } else {
            p.info = ProgramInfo{stem, K::fanuc, {name}, ""};
            p.texts = {t.files.bytes(name)};
        }
        programs.push_back(p);
    }
    return programs;
}

// A motion as the round trip must give it back.
struct MotionSeen {
    std::string routine;
    MotionKind kind = MotionKind::linear;
    Transform target;
    Transform via;
    std::string speed; // "path 250" mm/s, "joint 50" %
    bool stop = true;
    std::string frame;
    std::string tool;
};

std::string folded(std::string text) {
    for (char& c : text) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

std::string number(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::round(value * 1000) / 1000);
    return std::string(buffer, result.ptr);
}

// A TCP speed in mm/s of an ABB speeddata: its values, or a predefined vN's N.
double abbTcp(const Speed& s) {
    return s.hasData           ? static_cast<double>(s.data[0])
           : s.name.size() > 1 ? std::atof(s.name.c_str() + 1)
                               : 0.0;
}

// Speeds in one form: "path" mm/s, "joint" %.
std::string speedOf(const Motion& m) {
    const Speed& s = m.speed;
    switch (s.kind) {
    case SpeedKind::path:
        return "path " + number(pathMillimetresPerSecond(s));
    case SpeedKind::jointPercent:
        return "joint " + number(static_cast<double>(s.value));
    case SpeedKind::abbData:
        return "path " + number(abbTcp(s));
    default:
        return "other";
    }
}

std::string referenceOf(const Reference& r) {
    return r.name.empty() ? std::to_string(r.number) : folded(r.name);
}

// The motions of a translation, kept ones none, routine by routine: as its
// source states them, or (asTarget) as the target now states them, in the
// target's words.
std::vector<MotionSeen> motionsOf(const Translated& t, bool asTarget) {
    std::vector<MotionSeen> seen;
    std::string routine;
    const ProgramInfo& program = asTarget ? t.target : t.source;
    for (std::size_t k = 0; k < t.statements.size(); ++k) {
        const Statement& s = t.statements[k];
        const StatementOutcome& o = t.outcomes[k];
        const Statement& said = asTarget ? o.target : s;
        if (s.kind == StatementKind::routineStart) {
            const bool abbMain = program.vendor == K::abb && folded(said.name) == "MAIN";
            routine = folded(abbMain ? program.name : said.name);
        }
        if (s.kind != StatementKind::motion || o.annotation.disposition == Disposition::kept) {
            continue;
        }
        const Motion& motion = said.motion;
        MotionSeen m;
        m.routine = routine;
        m.kind = motion.kind;
        m.target = o.target.motion.target.point.pose.matrix;
        m.via = o.target.motion.via.point.pose.matrix;
        m.speed = speedOf(motion);
        m.stop = motion.blend.kind == BlendKind::stop ||
                 (motion.blend.kind == BlendKind::abbZone && motion.blend.hasData &&
                  motion.blend.data[0] != 0.0f);
        m.frame = referenceOf(motion.frame);
        m.tool = referenceOf(motion.tool);
        seen.push_back(m);
    }
    return seen;
}

::testing::AssertionResult sameMatrix(const Transform& a, const Transform& b, double mm,
                                      double rotation) {
    for (int k = 0; k < 16; ++k) {
        const double tolerance = k % 4 == 3 ? mm : rotation;
        if (std::fabs(a.e[k] - b.e[k]) > tolerance) {
            return ::testing::AssertionFailure()
                   << "element " << k << ": " << a.e[k] << " and " << b.e[k];
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(ReaderPrograms, EveryLineOfEveryFixtureIsInAStatementInOrder) {
    for (const Fixture& f : fixtures()) {
        SCOPED_TRACE(f.info.name);
        const std::vector<std::string> texts = textsOf(f);
        PointTable points;
        std::vector<Statement> statements;
        ProgramInput input;
        input.statement = [&](const Statement& s) { statements.push_back(s); };
        const std::vector<std::string_view> views = viewsOf(texts);
        readProgramText(f.info, views, points, input);
        for (std::uint32_t file = 0; file < texts.size(); ++file) {
            SCOPED_TRACE(f.info.files[file]);
            std::uint64_t lines = 0;
            for (const char c : texts[file]) {
                lines += c == '\n' ? 1 : 0;
            }
            lines += !texts[file].empty() && texts[file].back() != '\n' ? 1 : 0;
            std::vector<int> covered(lines + 1, 0);
            std::uint64_t lastStart = 0;
            for (const Statement& s : statements) {
                if (s.place.file != file) {
                    continue;
                }
                EXPECT_GE(s.place.firstLine, lastStart) << "out of order";
                EXPECT_LE(s.place.firstLine, s.place.lastLine);
                lastStart = s.place.firstLine;
                for (std::uint64_t l = s.place.firstLine; l <= s.place.lastLine && l <= lines;
                     ++l) {
                    covered[l] = 1;
                }
                EXPECT_LE(s.place.lastLine, lines);
            }
            for (std::uint64_t l = 1; l <= lines; ++l) {
                EXPECT_EQ(covered[l], 1) << "line " << l;
            }
        }
    }
}

TEST(ReaderPrograms, ThereAndBackGivesTheSameMotionsInOrder) {
    for (const Fixture& f : fixtures()) {
        const std::vector<std::string> texts = textsOf(f);
        for (const Direction& d : f.directions) {
            SCOPED_TRACE(f.info.name + " to " + vendorName(d.to) + " and back");
            Translated there;
            readAndTranslate(f.info, texts, optionsOf(f.info.vendor, d.to, d.there), there);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            ASSERT_FALSE(there.refused);
            std::vector<MotionSeen> back;
            for (const TargetProgram& program : targetPrograms(there)) {
                Translated home;
                readAndTranslate(program.info, program.texts,
                                 optionsOf(d.to, f.info.vendor, d.back), home);
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
                ASSERT_FALSE(home.refused) << program.info.name;
                const std::vector<MotionSeen> found = motionsOf(home, true);
                back.insert(back.end(), found.begin(), found.end());
            }
            const std::vector<MotionSeen> source = motionsOf(there, false);
            EXPECT_EQ(source.size(), f.motions);
            // FANUC keeps three decimals of millimetres and degrees.
            const bool fanuc = d.to == K::fanuc || f.info.vendor == K::fanuc;
            const double mm = fanuc ? 5e-4 : 1e-3;
            const double rotation = fanuc ? 2e-5 : 1e-6;
            ASSERT_EQ(back.size(), source.size());
            for (std::size_t k = 0; k < source.size(); ++k) {
                SCOPED_TRACE("motion " + std::to_string(k + 1) + " of " + source[k].routine);
                EXPECT_EQ(back[k].routine, source[k].routine);
                EXPECT_EQ(back[k].kind, source[k].kind);
                EXPECT_TRUE(sameMatrix(back[k].target, source[k].target, mm, rotation));
                if (source[k].kind == MotionKind::circular) {
                    EXPECT_TRUE(sameMatrix(back[k].via, source[k].via, mm, rotation));
                }
                EXPECT_EQ(back[k].speed, source[k].speed);
                EXPECT_EQ(back[k].stop, source[k].stop);
                EXPECT_EQ(back[k].frame, source[k].frame);
                EXPECT_EQ(back[k].tool, source[k].tool);
            }
        }
    }
}

} // namespace
