// The role every pose gets from the statement around it, vendor by vendor:
// the constructs real programs hold, each with the role rebase must see.

#include "robotfiles/file_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Scanned {
    std::vector<PoseRecord> poses;
    std::vector<ScanWarning> warnings;
    std::vector<MotionVisit> motions;
};

// Reads text as the file fileName, KRL declarations with the uses of `code`
// (the .src beside a .dat).
Scanned scan(Vendor vendor, const std::string& fileName, const std::string& text,
             const std::string& code = "") {
    KrlUsage usage;
    SourceLine line;
    std::size_t start = 0;
    while (start < code.size()) {
        const std::size_t end = code.find('\n', start);
        line.text = std::string_view(code).substr(start, end - start);
        noteKrlUsage(usage, line);
        start = end == std::string::npos ? code.size() : end + 1;
    }
    Scanned result;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) { result.poses.push_back(pose); };
    callbacks.warning = [&](const ScanWarning& warning) { result.warnings.push_back(warning); };
    callbacks.motion = [&](const MotionVisit& visit) { result.motions.push_back(visit); };
    scanText(text, vendor, callbacks, ScanContext{fileName, &usage});
    return result;
}

std::string rolesOf(const Scanned& scanned) {
    std::string roles;
    for (const PoseRecord& pose : scanned.poses) {
        roles += (roles.empty() ? "" : " ") + std::string(roleName(pose.role));
    }
    return roles;
}

struct RoleCase {
    Vendor vendor;
    const char* file;
    const char* text;
    const char* roles;     // of every pose, in file order
    const char* code = ""; // the .src whose motions use the .dat's names
    bool warned = false;   // an undecided use is a note
};

const RoleCase roleCases[] = {
    // KRL: data declares positions, the motions' literals are positions.
    {Vendor::kuka, "a.dat", "DEFDAT a\nDECL E6POS XP1={X 1,Y 2,Z 3,A 0,B 0,C 0}\nENDDAT\n",
     "position"},
    {Vendor::kuka, "a.src", "DEF a( )\nLIN {X 1,Y 2,Z 3,A 0,B 90,C 0} C_DIS\nEND\n", "position"},
    {Vendor::kuka, "a.src",
     "DEF a( )\nCIRC {X 1,Y 2,Z 3,A 0,B 0,C 0}, {X 2,Y 2,Z 3,A 0,B 0,C 0}\nEND\n",
     "position position"},
    // The real constructs a rebase once moved: an offset after ':', a tool
    // assigned in code, a zero start value, the FRAME a LIN_REL names.
    {Vendor::kuka, "a.src", "DEF a( )\nLIN lfWorkPos[2]:{X 0.0,Y 4.0,Z 0,A 0.0,B 0.0,C 0.0}\nEND\n",
     "offset"},
    {Vendor::kuka, "a.src",
     "DEF a( )\nTOOL_DATA[lnUsedTool] = TOOL_DATA[11] :{X 0,Y 0,Z 0,A 0,B 0,C 0}\nEND\n", "offset"},
    {Vendor::kuka, "a.src",
     "DEF a( )\nPonto_STR[I,J,k].OffsetPlace = {x 0,y 0,z 0,a 0,b 0,c 0}\nEND\n", "initialisation"},
    {Vendor::kuka, "a.src",
     "DEF a( )\nRelFrame={X 0.0,Y 0.0,Z 10,A 0.0,B 0.0,C 0.0}\nLIN_REL RelFrame\nEND\n", "offset",
     "LIN_REL RelFrame\n"},
    {Vendor::kuka, "a.src", "DEF a( )\nLIN_REL {Z -50} #TOOL\nEND\n", "offset"},
    {Vendor::kuka, "a.dat", "DEFDAT a\nDECL FRAME RelFrame={X 0,Y 0,Z 10,A 0,B 0,C 0}\nENDDAT\n",
     "offset", "LIN_REL RelFrame C_DIS\n"},
    // A FRAME is a position only where a motion goes to it; the elements of
    // an array take the type and role of its declaration.
    {Vendor::kuka, "a.dat", "DEFDAT a\nDECL FRAME F1={X 5,Y 5,Z 5,A 0,B 0,C 0}\nENDDAT\n", "frame"},
    {Vendor::kuka, "a.dat",
     "DEFDAT a\nDECL GLOBAL FRAME gfMeasPoint[7]\ngfMeasPoint[1]={X 1,Y 2,Z 3,A 0,B 0,C "
     "0}\nENDDAT\n",
     "position", "PTP gfMeasPoint[1]\n"},
    {Vendor::kuka, "a.dat", "DEFDAT a\nDECL E6POS XP1={X 1,Y 2,Z 3,A 0,B 0,C 0}\nENDDAT\n",
     "undecided", "LIN XP1\nLIN_REL XP1\n", true},
    // Tools, bases and loads; a pose assigned in code may or may not be one.
    {Vendor::kuka, "a.src", "DEF a( )\n$TOOL = {X 0,Y 0,Z 215.5,A 0,B 0,C 0}\nEND\n", "frame"},
    {Vendor::kuka, "$config.dat",
     "DEFDAT $CONFIG\nBASE_DATA[3]={X 1000,Y 0,Z 0,A 0,B 0,C 0}\nENDDAT\n", "frame"},
    {Vendor::kuka, "a.dat",
     "DEFDAT a\nLOAD_DATA[1]={M 5,CM {X 0,Y 0,Z 50,A 0,B 0,C 0},J {X 0,Y 0,Z 0}}\nENDDAT\n",
     "frame"},
    {Vendor::kuka, "a.src", "DEF a( )\nXP2 = {X 100,Y 200,Z 300,A 0,B 90,C 0}\nEND\n",
     "assignment"},
    {Vendor::kuka, "a.src", "DEF a( )\nMyMove({X 1,Y 2,Z 3,A 0,B 0,C 0})\nEND\n", "undecided", "",
     true},
    // Joint values, declared or written as a motion's target.
    {Vendor::kuka, "a.dat",
     "DEFDAT a\nDECL E6AXIS XHOME={A1 0,A2 -90,A3 90,A4 0,A5 0,A6 0}\nENDDAT\n", "joint"},
    {Vendor::kuka, "a.src", "DEF a( )\nPTP {A1 0,A2 -90,A3 90,A4 0,A5 0,A6 0}\nEND\n", "joint"},
    // RAPID: module data and the moves' literals are positions; code
    // assigns or starts variables; tools, work objects and poses are frames.
    {Vendor::abb, "m.mod",
     "MODULE m\nCONST robtarget p1 := [[1,2,3],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];\n"
     "PERS tooldata t1 := [TRUE,[[0,0,150],[1,0,0,0]],[5,[0,0,50],[1,0,0,0],0,0,0]];\n"
     "PERS wobjdata w1 := [FALSE,TRUE,\"\",[[1000,0,0],[1,0,0,0]],[[0,0,0],[1,0,0,0]]];\n"
     "CONST pose f1 := [[1,2,3],[1,0,0,0]];\nENDMODULE\n",
     "position frame frame frame"},
    {Vendor::abb, "m.mod",
     "MODULE m\nPROC main()\nMoveL [[1,2,3],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v200, "
     "z10, "
     "tool0\\WObj:=w1;\nENDPROC\nENDMODULE\n",
     "position"},
    {Vendor::abb, "m.mod",
     "MODULE m\nPROC main()\nVAR robtarget p := "
     "[[0,0,0],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];\n"
     "p := [[10,20,30],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];\nENDPROC\nENDMODULE\n",
     "initialisation assignment"},
    {Vendor::abb, "m.mod",
     "MODULE m\nPROC main()\nMoveL "
     "Offs([[1,2,3],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]],0,0,10), "
     "v100, fine, tool0;\nENDPROC\nENDMODULE\n",
     "undecided", "", true},
    {Vendor::abb, "m.mod",
     "MODULE m\nCONST jointtarget j := [[0,0,0,0,90,0],[9E9,9E9,9E9,9E9,9E9,9E9]];\nPROC main()\n"
     "MoveAbsJ [[0,0,0,0,30,0],[9E9,9E9,9E9,9E9,9E9,9E9]]\\NoEOffs, v1000, fine, tool0;\nENDPROC\n"
     "ENDMODULE\n",
     "joint joint"},
    // FANUC: INC makes a position an offset; joint groups are joint values.
    {Vendor::fanuc, "a.ls",
     "/PROG A\n/MN\n   1:L P[1] 100mm/sec FINE ;\n   2:L P[2] 100mm/sec FINE INC ;\n/POS\n"
     "P[1]{\n   GP1:\n\tUF : 1, UT : 1,\n\tX = 1 mm, Y = 2 mm, Z = 3 mm,\n\tW = 0 deg, P = 0 deg, "
     "R = 0 deg\n};\n"
     "P[2]{\n   GP1:\n\tUF : 1, UT : 1,\n\tX = 0 mm, Y = 0 mm, Z = 10 mm,\n\tW = 0 deg, P = 0 deg, "
     "R = 0 deg\n"
     "   GP2:\n\tJ1 = 35 deg, J2 = -12.5 mm\n};\n/END\n",
     "position offset joint"},
};

TEST(Roles, EveryStatementGivesItsPoseItsRole) {
    for (const RoleCase& c : roleCases) {
        SCOPED_TRACE(c.text);
        const Scanned scanned = scan(c.vendor, c.file, c.text, c.code);
        EXPECT_EQ(rolesOf(scanned), c.roles);
        bool noted = false;
        for (const ScanWarning& warning : scanned.warnings) {
            EXPECT_TRUE(warning.note) << warning.message;
            noted = noted || warning.message.find("left alone") != std::string::npos;
        }
        EXPECT_EQ(noted, c.warned);
    }
}

TEST(Roles, JointValuesAreListedAxisByAxis) {
    const Scanned krl = scan(Vendor::kuka, "a.dat",
                             "DEFDAT a\nDECL E6AXIS XHOME={A1 0,A2 -90,A3 90,A4 0,A5 45.5,A6 0,E1 "
                             "1200}\nENDDAT\n");
    ASSERT_EQ(krl.poses.size(), 1u);
    const PoseRecord& home = krl.poses[0];
    EXPECT_EQ(home.status, PoseStatus::ok);
    EXPECT_TRUE(home.values.empty());
    ASSERT_EQ(home.axes.size(), 7u);
    EXPECT_EQ(home.axes[4].key, "a5");
    EXPECT_EQ(home.axes[4].value, 45.5);
    EXPECT_EQ(home.axes[6].key, "e1");
    EXPECT_EQ(home.axes[6].value, 1200.0);
}

// Files with a program's extension that hold no program are said to be so.
TEST(Roles, AFileThatIsNoProgramIsNamed) {
    const struct {
        Vendor vendor;
        const char* file;
        const char* text;
        const char* message;
    } cases[] = {
        {Vendor::kuka, "a.dat", "DECL E6POS XP1={X 1,Y 2,Z 3,A 0,B 0,C 0}\n",
         "not a KRL data file: no DEFDAT"},
        {Vendor::kuka, "a.src", "LIN XP1\n", "not a KRL program: no DEF"},
        {Vendor::abb, "a.mod", "CONST num n := 1;\n", "not a RAPID module: no MODULE"},
        {Vendor::fanuc, "a.ls", "/MN\n/POS\n/END\n", "not a FANUC program: no /PROG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Scanned scanned = scan(c.vendor, c.file, c.text);
        ASSERT_EQ(scanned.warnings.size(), 1u);
        EXPECT_EQ(scanned.warnings[0].message, c.message);
    }
    // Bytes that are no text: the NUL stops a C string, so the text is built.
    const std::string binary("/PROG A\n\x01\x00\x02\n/END\n", 17);
    const Scanned scanned = scan(Vendor::fanuc, "a.ls", binary);
    ASSERT_EQ(scanned.warnings.size(), 1u);
    EXPECT_EQ(scanned.warnings[0].message, "not a program: the file holds bytes that are not text");
    EXPECT_FALSE(scanned.warnings[0].note); // a rewriter refuses such a file
}

// The motions in the order the program runs them, each with its frame.
TEST(Roles, MotionsComeInOrderWithTheirFrames) {
    const struct {
        Vendor vendor;
        const char* text;
        const char* visits; // target or "inline", "@frame", "(aux)"
    } cases[] = {
        {Vendor::kuka,
         "DEF a( )\n$BASE = BASE_DATA[2]\nPTP XP1\nBAS(#BASE, 0)\nLIN {X 1,Y 2,Z 3,A 0,B 0,C 0}\n"
         ";FOLD LIN P3 Vel=2 m/s CPDAT3 Tool[1] Base[4];%{PE}\nLIN XP3\n;ENDFOLD\n"
         "CIRC XAUX, lfPos[2]:{X 1}\nLIN_REL {Z 5}\nEND\n",
         "XP1@BASE_DATA[2] inline@$WORLD XP3@BASE_DATA[4] XAUX@$WORLD(aux) lfPos[2]@$WORLD"},
        {Vendor::abb,
         "MODULE m\nPROC main()\nMoveJ pHome, v1000, z50, tool0;\n"
         "MoveC pA, [[1,2,3],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v200, fine, "
         "t1\\WObj:=w1;\n"
         "MoveL Offs(pHome,0,0,10), v100, fine, tool0;\nENDPROC\nENDMODULE\n",
         "pHome@wobj0 pA@w1(aux) inline@w1"},
        {Vendor::fanuc,
         "/PROG A\n/MN\n   1:  UFRAME_NUM=3 ;\n   2:J P[1] 100% FINE ;\n   3:C P[2] \n    :  P[3] "
         "100mm/sec FINE ;\n"
         "   4:L P[4] 100mm/sec FINE INC ;\n/POS\n/END\n",
         "P[1]@UF 3 P[2]@UF 3(aux) P[3]@UF 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string visits;
        for (const MotionVisit& visit : scan(c.vendor, "x", c.text).motions) {
            visits += (visits.empty() ? "" : " ") +
                      (visit.target.empty() ? std::string("inline") : visit.target) + "@" +
                      visit.frame + (visit.auxiliary ? "(aux)" : "");
        }
        EXPECT_EQ(visits, c.visits);
    }
}

} // namespace
