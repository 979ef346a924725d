// One statement at a time through the readers this time: a line of source
// text inside a small program of its vendor, read, translated to each of
// the three vendors and written; the rule that decided it, its warnings and
// the target line it landed on, written by hand per direction.

#include "tests/translation/read_translate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using K = Vendor;

struct Expect {
    const char* rule;
    const char* warnings;
    // The target line the statement landed on, leading blanks removed;
    // "refused" for a refusal.
    const char* target;
};

struct Case {
    const char* source; // one or more lines, '\n' between
    int line;           // which of them is checked, from 0
    Expect kuka;
    Expect abb;
    Expect fanuc;
};

std::string stripped(std::string text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// The program around a case, and the line its first line stands on.
struct Wrapped {
    ProgramInfo info;
    std::vector<std::string> texts;
    std::uint32_t file = 0;
    std::uint64_t line = 0;
};

Wrapped kukaProgram(const char* lines) {
    Wrapped w;
    w.info = ProgramInfo{"T", K::kuka, {"T.dat", "T.src"}, "T"};
    w.texts.push_back("DEFDAT T\n"
                      "DECL E6POS XP1={X 500,Y 0,Z 600,A 0,B 90,C 0,S 2,T 10,E1 0,E2 0,E3 0,E4 0,"
                      "E5 0,E6 0}\n"
                      "DECL E6POS XP2={X 600,Y 0,Z 600,A 0,B 90,C 0,S 2,T 10}\n"
                      "DECL FDAT FP3={TOOL_NO 1,BASE_NO 3,IPO_FRAME #BASE}\n"
                      "DECL LDAT LCPDAT3={VEL 2,ACC 100,APO_DIST 20,APO_FAC 50,ORI_TYP #VAR,"
                      "CIRC_TYP #BASE}\n"
                      "DECL PDAT PPDAT3={VEL 100,ACC 100,APO_DIST 100,APO_MODE #CPTP}\n"
                      "ENDDAT\n");
    w.texts.push_back(std::string("DEF T( )\n$BASE = BASE_DATA[3]\n$TOOL = TOOL_DATA[1]\n"
                                  "$VEL.CP = 0.25\nBAS(#VEL_PTP, 50)\n$APO.CDIS = 10\n") +
                      lines + "\nEND\n");
    w.file = 1;
    w.line = 7;
    return w;
}

Wrapped abbProgram(const char* lines) {
    Wrapped w;
    w.info = ProgramInfo{"T", K::abb, {"T.mod"}, "main"};
    w.texts.push_back(
        std::string("MODULE T\n"
                    "  CONST robtarget p10:=[[500,0,600],[0,0,1,0],[0,0,1,0],[9E9,9E9,9E9,9E9,9E9,"
                    "9E9]];\n"
                    "  CONST robtarget p20:=[[600,0,600],[0,0,1,0],[0,0,1,0],[9E9,9E9,9E9,9E9,9E9,"
                    "9E9]];\n"
                    "  CONST speeddata vOwn:=[350,500,5000,1000];\n"
                    "  CONST zonedata zOwn:=[FALSE,12,18,18,1.8,18,1.8];\n"
                    "  PROC main()\n") +
        lines + "\n  ENDPROC\nENDMODULE\n");
    w.line = 7;
    return w;
}

Wrapped fanucProgram(const char* lines) {
    Wrapped w;
    w.info = ProgramInfo{"T", K::fanuc, {"T.LS"}, ""};
    const char* position = "   GP1:\n\tUF : 3, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n";
    w.texts.push_back(std::string("/PROG  T\n/ATTR\nCOMMENT = \"t\";\n/MN\n   1:  UFRAME_NUM=3 ;\n"
                                  "   2:  UTOOL_NUM=1 ;\n") +
                      lines + "\n/POS\nP[1:\"APPROACH\"]{\n" + position +
                      "\tX = 500.000 mm,\tY = 0.000 mm,\tZ = 600.000 mm,\n"
                      "\tW = 180.000 deg,\tP = 0.000 deg,\tR = 0.000 deg\n};\n"
                      "P[2]{\n" +
                      position +
                      "\tX = 600.000 mm,\tY = 0.000 mm,\tZ = 600.000 mm,\n"
                      "\tW = 180.000 deg,\tP = 0.000 deg,\tR = 0.000 deg\n};\n"
                      "P[3]{\n   GP1:\n\tUF : 3, UT : 1,\n"
                      "\tJ1= 0.000 deg,\tJ2= -20.000 deg,\tJ3= 30.000 deg,\n"
                      "\tJ4= 0.000 deg,\tJ5= 60.000 deg,\tJ6= 0.000 deg\n};\n"
                      "P[4]{\n   GP1:\n\tUF : 0, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n"
                      "\tX = 700.000 mm,\tY = 0.000 mm,\tZ = 600.000 mm,\n"
                      "\tW = 180.000 deg,\tP = 0.000 deg,\tR = 0.000 deg\n};\n/END\n");
    w.line = 7;
    return w;
}

TranslationOptions kukaTo(K to) {
    switch (to) {
    case K::kuka:
        return parsedOptions(K::kuka, to, {}, {}, {}, {}, 0);
    case K::abb:
        return parsedOptions(K::kuka, to, {"3=wobjTable"}, {"1=tGripper"},
                             {"$OUT[3]=doGrip", "$IN[2]=diPart"}, {"C_PTP100=z50"}, 1000);
    case K::fanuc:
        return parsedOptions(K::kuka, to, {"3=3"}, {"1=1"}, {"$OUT[3]=DO[3]", "$IN[2]=DI[2]"},
                             {"C_DIS10=CNT30", "C_PTP100=CNT100"}, 0);
    }
    return {};
}

TranslationOptions abbTo(K to) {
    switch (to) {
    case K::kuka:
        return parsedOptions(K::abb, to, {"wobjTable=3"}, {"tGripper=1"},
                             {"doGrip=$OUT[3]", "diPart=$IN[2]"}, {}, 1000);
    case K::abb:
        return parsedOptions(K::abb, to, {}, {}, {}, {}, 0);
    case K::fanuc:
        return parsedOptions(K::abb, to, {"wobjTable=3"}, {"tGripper=1"},
                             {"doGrip=DO[3]", "diPart=DI[2]"}, {"z10=CNT30", "zOwn=CNT40"}, 1000);
    }
    return {};
}

TranslationOptions fanucTo(K to) {
    switch (to) {
    case K::kuka:
        return parsedOptions(K::fanuc, to, {"3=3"}, {"1=1"}, {"DO[3]=$OUT[3]", "DI[2]=$IN[2]"},
                             {"CNT50=C_DIS10"}, 0);
    case K::abb:
        return parsedOptions(K::fanuc, to, {"3=wobjTable"}, {"1=tGripper"},
                             {"DO[3]=doGrip", "DI[2]=diPart"}, {"CNT50=z10"}, 1000);
    case K::fanuc:
        return parsedOptions(K::fanuc, to, {}, {}, {}, {}, 0);
    }
    return {};
}

void check(const Case& c, Wrapped (*wrap)(const char*), TranslationOptions (*options)(K)) {
    const Wrapped w = wrap(c.source);
    const Expect* expects[] = {&c.kuka, &c.abb, &c.fanuc};
    for (const K to : {K::kuka, K::abb, K::fanuc}) {
        const Expect& e = *expects[static_cast<int>(to)];
        SCOPED_TRACE(std::string("to ") + vendorName(to));
        Translated t;
        readAndTranslate(w.info, w.texts, options(to), t);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        EXPECT_TRUE(t.warnings.empty()) << t.warnings.front();
        const std::size_t k = statementAt(t, w.file, w.line + static_cast<std::uint64_t>(c.line));
        ASSERT_NE(k, std::string::npos);
        const StatementOutcome& o = t.outcomes[k];
        EXPECT_EQ(rule(o.rule).name, std::string(e.rule));
        if (std::string(e.target) == "refused") {
            EXPECT_TRUE(o.refused);
            continue;
        }
        ASSERT_FALSE(o.refused) << o.refusal;
        EXPECT_EQ(warningCodes(o), e.warnings);
        const auto landed = t.landed.find(k);
        ASSERT_NE(landed, t.landed.end());
        EXPECT_EQ(stripped(targetLine(t, landed->second)), e.target);
    }
}

TEST(ReaderStatements, KukaToEachVendor) {
    const Case cases[] = {
        {"LIN XP1",
         0,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL XP1, speed250, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"linear-motion", "config-placeholder", "5:L P[1:XP1] 250mm/sec FINE    ;"}},
        {"PTP XP1",
         0,
         {"joint-motion-cartesian", "config-placeholder", "PTP XP1 ; config-placeholder"},
         {"joint-speed-reference", "config-placeholder joint-speed-approximated",
          "MoveJ XP1, v500, fine, tGripper \\WObj:=wobjTable; ! config-placeholder, "
          "joint-speed-approximated (was 50 %)"},
         {"joint-motion-cartesian", "config-placeholder", "5:J P[1:XP1] 50% FINE    ;"}},
        {"CIRC XP1, XP2 C_DIS",
         0,
         {"circular-motion", "config-placeholder", "CIRC XP1, XP2 C_DIS ; config-placeholder"},
         {"circular-motion", "config-placeholder",
          "MoveC XP1, XP2, speed250, z10, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"blend-map", "config-placeholder blend-approximated", "7:C P[1:XP1]"}},
        {"LIN {X 510.5,Y -20.25,Z 600,A 0,B 90,C 0} C_DIS",
         0,
         {"linear-motion", "config-placeholder",
          "LIN {X 510.5,Y -20.25,Z 600,A 0,B 90,C 0} C_DIS ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL [[510.5,-20.25,600],[0.70710677,0,0.70710677,0],[0,0,0,0],[9E9,9E9,9E9,9E9,"
          "9E9,9E9]], speed250, z10, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"blend-map", "config-placeholder blend-approximated", "6:L P[1] 250mm/sec CNT30    ;"}},
        // The inline form of a LIN: one statement of its seven lines, the
        // speed, blending, base and tool from its LDAT and FDAT.
        {";FOLD LIN P3 CONT Vel=2 m/s CPDAT3 Tool[1] Base[3];%{PE}\n$BWDSTART=FALSE\n"
         "LDAT_ACT=LCPDAT3\nFDAT_ACT=FP3\nBAS(#CP_PARAMS,2)\nLIN XP2 C_DIS\n;ENDFOLD",
         4,
         {"linear-motion", "config-placeholder", "LIN XP2 C_DIS ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL XP2, v2000, z20, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"blend-default", "config-placeholder blend-default",
          "6:L P[1:XP2] 2000mm/sec CNT1    ;"}},
        {";FOLD PTP P1 CONT Vel=100 % PDAT3 Tool[1] Base[3];%{PE}\n$BWDSTART=FALSE\n"
         "PDAT_ACT=PPDAT3\nFDAT_ACT=FP3\nBAS(#PTP_PARAMS,100)\nPTP XP1 C_PTP\n;ENDFOLD",
         0,
         {"joint-motion-cartesian", "config-placeholder", "PTP XP1 C_PTP ; config-placeholder"},
         {"joint-speed-reference", "config-placeholder joint-speed-approximated blend-approximated",
          "MoveJ XP1, v1000, z50, tGripper \\WObj:=wobjTable; ! config-placeholder, "
          "joint-speed-approximated (was 100 %), blend-approximated (was C_PTP 100)"},
         {"blend-map", "config-placeholder blend-approximated", "7:J P[1:XP1] 100% CNT100    ;"}},
        {"$VEL.CP = 0.2004\nLIN XP1",
         1,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL XP1, speed200_4, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"path-speed-rounded", "config-placeholder path-speed-rounded",
          "7:L P[1:XP1] 200mm/sec FINE    ;"}},
        {"LIN XP1 ; approach",
         0,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL XP1, speed250, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"linear-motion", "config-placeholder", "5:L P[1:XP1] 250mm/sec FINE    ;"}},
        {"LIN XP1 C_VEL",
         0,
         {"blend-unsupported", "blend-kept", "; blend-kept T.src:7: LIN XP1 C_VEL"},
         {"blend-unsupported", "blend-kept", "! blend-kept T.src:7: LIN XP1 C_VEL"},
         {"blend-unsupported", "blend-kept", "1:  !blend-kept T.src:7 ;"}},
        {"LIN XNOPE",
         0,
         {"point-unknown", "point-unknown-kept", "; point-unknown-kept T.src:7: LIN XNOPE"},
         {"point-unknown", "point-unknown-kept", "! point-unknown-kept T.src:7: LIN XNOPE"},
         {"point-unknown", "point-unknown-kept", "1:  !point-unknown-kept T.src:7 ;"}},
        {"PTP {A1 0,A2 -90,A3 90,A4 0,A5 0,A6 0}",
         0,
         {"kept-construct", "joint-target-kept",
          "; joint-target-kept T.src:7: PTP {A1 0,A2 -90,A3 90,A4 0,A5 0,A6 0}"},
         {"kept-construct", "joint-target-kept",
          "! joint-target-kept T.src:7: PTP {A1 0,A2 -90,A3 90,A4 0,A5 0,A6 0}"},
         {"kept-construct", "joint-target-kept", "1:  !joint-target-kept T.src:7 ;"}},
        {"LIN_REL {X 10}",
         0,
         {"kept-construct", "relative-motion-kept",
          "; relative-motion-kept T.src:7: LIN_REL {X 10}"},
         {"kept-construct", "relative-motion-kept",
          "! relative-motion-kept T.src:7: LIN_REL {X 10}"},
         {"kept-construct", "relative-motion-kept", "1:  !relative-motion-kept T.src:7 ;"}},
        {"LIN XP1:{X 10}",
         0,
         {"kept-construct", "relative-motion-kept",
          "; relative-motion-kept T.src:7: LIN XP1:{X 10}"},
         {"kept-construct", "relative-motion-kept",
          "! relative-motion-kept T.src:7: LIN XP1:{X 10}"},
         {"kept-construct", "relative-motion-kept", "1:  !relative-motion-kept T.src:7 ;"}},
        {"SLIN XP1",
         0,
         {"kept-construct", "spline-kept", "; spline-kept T.src:7: SLIN XP1"},
         {"kept-construct", "spline-kept", "! spline-kept T.src:7: SLIN XP1"},
         {"kept-construct", "spline-kept", "1:  !spline-kept T.src:7 ;"}},
        {"CIRC XP1, XP2, CA 90",
         0,
         {"kept-construct", "circle-angle-kept",
          "; circle-angle-kept T.src:7: CIRC XP1, XP2, CA 90"},
         {"kept-construct", "circle-angle-kept",
          "! circle-angle-kept T.src:7: CIRC XP1, XP2, CA 90"},
         {"kept-construct", "circle-angle-kept", "1:  !circle-angle-kept T.src:7 ;"}},
        {"$OUT[3] = TRUE",
         0,
         {"digital-output", "", "$OUT[3] = TRUE"},
         {"digital-output", "", "SetDO doGrip, 1;"},
         {"digital-output", "", "1:  DO[3]=ON ;"}},
        {"$OUT[5] = TRUE",
         0,
         {"digital-output", "", "$OUT[5] = TRUE"},
         {"signal-unmapped", "signal-unmapped", "! signal-unmapped T.src:7: $OUT[5] = TRUE"},
         {"signal-unmapped", "signal-unmapped", "1:  !signal-unmapped T.src:7 ;"}},
        {"PULSE($OUT[3], TRUE, 0.2)",
         0,
         {"digital-output", "", "PULSE($OUT[3], TRUE, 0.2)"},
         {"digital-output", "", "PulseDO \\PLength:=0.2, doGrip;"},
         {"digital-output", "", "1:  DO[3]=PULSE,0.2sec ;"}},
        {"WAIT FOR $IN[2]",
         0,
         {"wait-input", "", "WAIT FOR $IN[2]"},
         {"wait-input", "", "WaitDI diPart, 1;"},
         {"wait-input", "", "1:  WAIT DI[2]=ON ;"}},
        {"WAIT FOR $IN[2] OR $IN[3]",
         0,
         {"kept-construct", "variable-kept", "; variable-kept T.src:7: WAIT FOR $IN[2] OR $IN[3]"},
         {"kept-construct", "variable-kept", "! variable-kept T.src:7: WAIT FOR $IN[2] OR $IN[3]"},
         {"kept-construct", "variable-kept", "1:  !variable-kept T.src:7 ;"}},
        {"WAIT SEC 0.5",
         0,
         {"wait-time", "", "WAIT SEC 0.5"},
         {"wait-time", "", "WaitTime 0.5;"},
         {"wait-time", "", "1:  WAIT .50(sec) ;"}},
        {"place( )",
         0,
         {"call", "", "place( )"},
         {"call", "", "place;"},
         {"call", "name-adapted", "2:  CALL PLACE ;"}},
        {"my_sub(3)",
         0,
         {"kept-construct", "call-arguments-kept", "; call-arguments-kept T.src:7: my_sub(3)"},
         {"kept-construct", "call-arguments-kept", "! call-arguments-kept T.src:7: my_sub(3)"},
         {"kept-construct", "call-arguments-kept", "1:  !call-arguments-kept T.src:7 ;"}},
        {"; a comment",
         0,
         {"comment", "", "; a comment"},
         {"comment", "", "! a comment"},
         {"comment", "", "1:  !a comment ;"}},
        {"INTERRUPT ON 3",
         0,
         {"kept-construct", "trigger-kept", "; trigger-kept T.src:7: INTERRUPT ON 3"},
         {"kept-construct", "trigger-kept", "! trigger-kept T.src:7: INTERRUPT ON 3"},
         {"kept-construct", "trigger-kept", "1:  !trigger-kept T.src:7 ;"}},
        // A motion inside a branch is kept with it: taken out, it would run always.
        {"IF $IN[1] THEN\nLIN XP1\nENDIF",
         1,
         {"kept-construct", "logic-kept", "; logic-kept T.src:8: LIN XP1"},
         {"kept-construct", "logic-kept", "! logic-kept T.src:8: LIN XP1"},
         {"kept-construct", "logic-kept", "3:  !logic-kept T.src:8 ;"}},
        {"BASE_DATA[4] = {X 0,Y 0,Z 0,A 0,B 0,C 0}",
         0,
         {"kept-construct", "frame-definition-kept",
          "; frame-definition-kept T.src:7: BASE_DATA[4] = {X 0,Y 0,Z 0,A 0,B 0,C 0}"},
         {"kept-construct", "frame-definition-kept",
          "! frame-definition-kept T.src:7: BASE_DATA[4] = {X 0,Y 0,Z 0,A 0,B 0,C 0}"},
         {"kept-construct", "frame-definition-kept", "1:  !frame-definition-kept T.src:7 ;"}},
        {"$BASE = BASE_DATA[5]\nLIN XP1",
         1,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"frame-missing", "", "refused"},
         {"frame-missing", "", "refused"}},
        {"$BASE = $WORLD\nLIN XP1",
         1,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"world-frame", "", "refused"},
         {"world-frame", "", "refused"}},
        {"$TOOL = TOOL_DATA[2]\nLIN XP1",
         1,
         {"linear-motion", "config-placeholder", "LIN XP1 ; config-placeholder"},
         {"tool-missing", "", "refused"},
         {"tool-missing", "", "refused"}},
        // A base set in a branch is not known after it.
        {"IF $IN[1] THEN\n$BASE = BASE_DATA[2]\nENDIF\nLIN XP1",
         3,
         {"frame-unknown", "", "refused"},
         {"frame-unknown", "", "refused"},
         {"frame-unknown", "", "refused"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        check(c, kukaProgram, kukaTo);
    }
}

// FANUC's program carries the module's name, so its first line says that
// main was renamed.
TEST(ReaderStatements, AbbToEachVendor) {
    const Case cases[] = {
        {"    MoveL p10, v500, z10, tGripper\\WObj:=wobjTable;",
         0,
         {"linear-motion", "config-placeholder", "LIN p10 C_DIS ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL p10, v500, z10, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"blend-map", "config-placeholder blend-approximated",
          "7:L P[1:p10] 500mm/sec CNT30    ;"}},
        {"    MoveJ p10, v1000, fine, tGripper\\WObj:=wobjTable;",
         0,
         {"joint-speed-reference", "config-placeholder joint-speed-approximated",
          "PTP p10 ; config-placeholder, joint-speed-approximated (was v1000)"},
         {"joint-motion-cartesian", "config-placeholder",
          "MoveJ p10, v1000, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"joint-speed-reference", "config-placeholder joint-speed-approximated",
          "8:J P[1:p10] 100% FINE    ;"}},
        {"    MoveC p10, p20, vOwn, zOwn, tGripper\\WObj:=wobjTable;",
         0,
         {"circular-motion", "config-placeholder", "CIRC p10, p20 C_DIS ; config-placeholder"},
         {"circular-motion", "config-placeholder",
          "MoveC p10, p20, vOwn, zOwn, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"blend-map", "config-placeholder blend-approximated", "7:C P[1:p10]"}},
        {"    MoveL [[510.5,-20.25,600],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v100, "
         "fine, tGripper\\WObj:=wobjTable;",
         0,
         {"linear-motion", "config-placeholder",
          "LIN {X 510.5,Y -20.25,Z 600,A 0,B 0,C 0} ; config-placeholder (was [0,0,0,0])"},
         {"linear-motion", "config-placeholder",
          "MoveL [[510.5,-20.25,600],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v100, fine, "
          "tGripper \\WObj:=wobjTable; ! config-placeholder (was [0,0,0,0])"},
         {"linear-motion", "config-placeholder", "6:L P[1] 100mm/sec FINE    ;"}},
        // A statement over two lines is one.
        {"    MoveL p10,\n          v500, fine, tGripper\\WObj:=wobjTable;",
         1,
         {"linear-motion", "config-placeholder", "LIN p10 ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL p10, v500, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"linear-motion", "config-placeholder", "6:L P[1:p10] 500mm/sec FINE    ;"}},
        {"    MoveL p10, v500, z10, tGripper;",
         0,
         {"world-frame", "", "refused"},
         {"linear-motion", "config-placeholder",
          "MoveL p10, v500, z10, tGripper \\WObj:=wobj0; ! config-placeholder"},
         {"world-frame", "", "refused"}},
        {"    MoveL p10, v500, z10, tOther\\WObj:=wobjTable;",
         0,
         {"tool-missing", "", "refused"},
         {"linear-motion", "config-placeholder",
          "MoveL p10, v500, z10, tOther \\WObj:=wobjTable; ! config-placeholder"},
         {"tool-missing", "", "refused"}},
        {"    MoveL p30, v500, fine, tGripper\\WObj:=wobjTable;",
         0,
         {"point-unknown", "point-unknown-kept",
          "; point-unknown-kept T.mod:7:     MoveL p30, v500, fine, tGripper\\WObj:=wobjTable;"},
         {"point-unknown", "point-unknown-kept",
          "! point-unknown-kept T.mod:7:     MoveL p30, v500, fine, tGripper\\WObj:=wobjTable;"},
         {"point-unknown", "point-unknown-kept", "2:  !point-unknown-kept T.mod:7 ;"}},
        {"    MoveAbsJ [[0,0,0,0,90,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v1000, fine, tGripper;",
         0,
         {"kept-construct", "joint-target-kept",
          "; joint-target-kept T.mod:7:     MoveAbsJ [[0,0,0,0,90,0],[9E9,9E9,9E9,9E9,9E9,9E9]], "
          "v1000, fine, tGripper;"},
         {"kept-construct", "joint-target-kept",
          "! joint-target-kept T.mod:7:     MoveAbsJ [[0,0,0,0,90,0],[9E9,9E9,9E9,9E9,9E9,9E9]], "
          "v1000, fine, tGripper;"},
         {"kept-construct", "joint-target-kept", "2:  !joint-target-kept T.mod:7 ;"}},
        {"    MoveL Offs(p10,0,0,100), v500, fine, tGripper\\WObj:=wobjTable;",
         0,
         {"kept-construct", "relative-motion-kept",
          "; relative-motion-kept T.mod:7:     MoveL Offs(p10,0,0,100), v500, fine, "
          "tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "relative-motion-kept",
          "! relative-motion-kept T.mod:7:     MoveL Offs(p10,0,0,100), v500, fine, "
          "tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "relative-motion-kept", "2:  !relative-motion-kept T.mod:7 ;"}},
        {"    MoveL p10, v500 \\V:=350, fine, tGripper\\WObj:=wobjTable;",
         0,
         {"kept-construct", "speed-kept",
          "; speed-kept T.mod:7:     MoveL p10, v500 \\V:=350, fine, tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "speed-kept",
          "! speed-kept T.mod:7:     MoveL p10, v500 \\V:=350, fine, tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "speed-kept", "2:  !speed-kept T.mod:7 ;"}},
        {"    TriggL p10, v500, trig1, fine, tGripper;",
         0,
         {"kept-construct", "trigger-kept",
          "; trigger-kept T.mod:7:     TriggL p10, v500, trig1, fine, tGripper;"},
         {"kept-construct", "trigger-kept",
          "! trigger-kept T.mod:7:     TriggL p10, v500, trig1, fine, tGripper;"},
         {"kept-construct", "trigger-kept", "2:  !trigger-kept T.mod:7 ;"}},
        {"    ArcL p10, v100, seam1, weld1, fine, tGripper;",
         0,
         {"kept-construct", "technology-kept",
          "; technology-kept T.mod:7:     ArcL p10, v100, seam1, weld1, fine, tGripper;"},
         {"kept-construct", "technology-kept",
          "! technology-kept T.mod:7:     ArcL p10, v100, seam1, weld1, fine, tGripper;"},
         {"kept-construct", "technology-kept", "2:  !technology-kept T.mod:7 ;"}},
        {"    SetDO doGrip, 1;",
         0,
         {"digital-output", "", "$OUT[3] = TRUE"},
         {"digital-output", "", "SetDO doGrip, 1;"},
         {"digital-output", "", "2:  DO[3]=ON ;"}},
        {"    Reset doGrip;",
         0,
         {"digital-output", "", "$OUT[3] = FALSE"},
         {"digital-output", "", "SetDO doGrip, 0;"},
         {"digital-output", "", "2:  DO[3]=OFF ;"}},
        {"    PulseDO doGrip;",
         0,
         {"digital-output", "", "PULSE($OUT[3], TRUE, 0.2)"},
         {"digital-output", "", "PulseDO \\PLength:=0.2, doGrip;"},
         {"digital-output", "", "2:  DO[3]=PULSE,0.2sec ;"}},
        {"    WaitDI diPart, 1;",
         0,
         {"wait-input", "", "WAIT FOR $IN[2]"},
         {"wait-input", "", "WaitDI diPart, 1;"},
         {"wait-input", "", "2:  WAIT DI[2]=ON ;"}},
        {"    WaitDI diPart, 1\\MaxTime:=5;",
         0,
         {"kept-construct", "timeout-kept",
          "; timeout-kept T.mod:7:     WaitDI diPart, 1\\MaxTime:=5;"},
         {"kept-construct", "timeout-kept",
          "! timeout-kept T.mod:7:     WaitDI diPart, 1\\MaxTime:=5;"},
         {"kept-construct", "timeout-kept", "2:  !timeout-kept T.mod:7 ;"}},
        {"    WaitTime 0.25;",
         0,
         {"wait-time", "", "WAIT SEC 0.25"},
         {"wait-time", "", "WaitTime 0.25;"},
         {"wait-time", "", "2:  WAIT .25(sec) ;"}},
        {"    sub_one;",
         0,
         {"call", "", "sub_one( )"},
         {"call", "", "sub_one;"},
         {"call", "name-adapted", "3:  CALL SUB_ONE ;"}},
        {"    Stop;",
         0,
         {"kept-construct", "statement-kept", "; statement-kept T.mod:7:     Stop;"},
         {"kept-construct", "statement-kept", "! statement-kept T.mod:7:     Stop;"},
         {"kept-construct", "statement-kept", "2:  !statement-kept T.mod:7 ;"}},
        {"    reg1 := reg1 + 1;",
         0,
         {"kept-construct", "variable-kept", "; variable-kept T.mod:7:     reg1 := reg1 + 1;"},
         {"kept-construct", "variable-kept", "! variable-kept T.mod:7:     reg1 := reg1 + 1;"},
         {"kept-construct", "variable-kept", "2:  !variable-kept T.mod:7 ;"}},
        {"    IF diPart = 1 THEN\n      MoveL p10, v500, fine, tGripper\\WObj:=wobjTable;\n"
         "    ENDIF",
         1,
         {"kept-construct", "logic-kept",
          "; logic-kept T.mod:8:       MoveL p10, v500, fine, tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "logic-kept",
          "! logic-kept T.mod:8:       MoveL p10, v500, fine, tGripper\\WObj:=wobjTable;"},
         {"kept-construct", "logic-kept", "4:  !logic-kept T.mod:8 ;"}},
        {"    ! a comment",
         0,
         {"comment", "", "; a comment"},
         {"comment", "", "! a comment"},
         {"comment", "", "2:  !a comment ;"}},
        {"    ConfL \\On;",
         0,
         {"motion-setting", "", ""},
         {"motion-setting", "", ""},
         {"motion-setting", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        check(c, abbProgram, abbTo);
    }
}

TEST(ReaderStatements, FanucToEachVendor) {
    const Case cases[] = {
        {"   3:L P[1:APPROACH] 500mm/sec FINE    ;",
         0,
         {"linear-motion", "config-placeholder", "LIN APPROACH ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL APPROACH, v500, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"linear-motion", "config-placeholder", "5:L P[1:APPROACH] 500mm/sec FINE    ;"}},
        {"   3:J P[2] 50% CNT50    ;",
         0,
         {"blend-map", "config-placeholder blend-approximated",
          "PTP P2 C_DIS ; config-placeholder, blend-approximated (was CNT50)"},
         {"joint-speed-reference", "config-placeholder joint-speed-approximated blend-approximated",
          "MoveJ P2, v500, z10, tGripper \\WObj:=wobjTable; ! config-placeholder, "
          "joint-speed-approximated (was 50 %), blend-approximated (was CNT50)"},
         {"joint-motion-cartesian", "config-placeholder", "5:J P[2] 50% CNT50    ;"}},
        {"   3:C P[1:APPROACH]    \n    :  P[2] 100mm/sec FINE    ;",
         1,
         {"circular-motion", "config-placeholder", "CIRC APPROACH, P2 ; config-placeholder"},
         {"circular-motion", "config-placeholder",
          "MoveC APPROACH, P2, v100, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"circular-motion", "config-placeholder", "5:C P[1:APPROACH]"}},
        {"   3:L P[2] 30cm/min FINE    ;",
         0,
         {"linear-motion", "config-placeholder", "LIN P2 ; config-placeholder"},
         {"linear-motion", "config-placeholder",
          "MoveL P2, v5, fine, tGripper \\WObj:=wobjTable; ! config-placeholder"},
         {"linear-motion", "config-placeholder", "5:L P[2] 30cm/min FINE    ;"}},
        {"   3:L P[4] 500mm/sec FINE    ;",
         0,
         {"world-frame", "", "refused"},
         {"world-frame", "", "refused"},
         {"linear-motion", "config-placeholder", "5:L P[4] 500mm/sec FINE    ;"}},
        {"   3:J P[3] 100% FINE    ;",
         0,
         {"joint-target", "joint-target-kept",
          "; joint-target-kept T.LS:7:    3:J P[3] 100% FINE    ;"},
         {"joint-target", "joint-target-kept",
          "! joint-target-kept T.LS:7:    3:J P[3] 100% FINE    ;"},
         {"joint-target", "joint-target-kept", "1:  !joint-target-kept T.LS:7 ;"}},
        {"   3:J PR[1] 100% FINE    ;",
         0,
         {"kept-construct", "position-register-kept",
          "; position-register-kept T.LS:7:    3:J PR[1] 100% FINE    ;"},
         {"kept-construct", "position-register-kept",
          "! position-register-kept T.LS:7:    3:J PR[1] 100% FINE    ;"},
         {"kept-construct", "position-register-kept", "1:  !position-register-kept T.LS:7 ;"}},
        {"   3:L P[2] 500mm/sec FINE INC    ;",
         0,
         {"kept-construct", "relative-motion-kept",
          "; relative-motion-kept T.LS:7:    3:L P[2] 500mm/sec FINE INC    ;"},
         {"kept-construct", "relative-motion-kept",
          "! relative-motion-kept T.LS:7:    3:L P[2] 500mm/sec FINE INC    ;"},
         {"kept-construct", "relative-motion-kept", "1:  !relative-motion-kept T.LS:7 ;"}},
        {"   3:A P[1:APPROACH] 100mm/sec CNT50    ;",
         0,
         {"kept-construct", "arc-kept",
          "; arc-kept T.LS:7:    3:A P[1:APPROACH] 100mm/sec CNT50    ;"},
         {"kept-construct", "arc-kept",
          "! arc-kept T.LS:7:    3:A P[1:APPROACH] 100mm/sec CNT50    ;"},
         {"kept-construct", "arc-kept", "1:  !arc-kept T.LS:7 ;"}},
        {"   3:L P[1:APPROACH] 500mm/sec CR50    ;",
         0,
         {"blend-unsupported", "blend-kept",
          "; blend-kept T.LS:7:    3:L P[1:APPROACH] 500mm/sec CR50    ;"},
         {"blend-unsupported", "blend-kept",
          "! blend-kept T.LS:7:    3:L P[1:APPROACH] 500mm/sec CR50    ;"},
         {"blend-unsupported", "blend-kept", "1:  !blend-kept T.LS:7 ;"}},
        {"   3:L P[1:APPROACH] 500mm/sec FINE ACC50    ;",
         0,
         {"kept-construct", "statement-kept",
          "; statement-kept T.LS:7:    3:L P[1:APPROACH] 500mm/sec FINE ACC50    ;"},
         {"kept-construct", "statement-kept",
          "! statement-kept T.LS:7:    3:L P[1:APPROACH] 500mm/sec FINE ACC50    ;"},
         {"kept-construct", "statement-kept", "1:  !statement-kept T.LS:7 ;"}},
        {"   3:  DO[3]=ON ;",
         0,
         {"digital-output", "", "$OUT[3] = TRUE"},
         {"digital-output", "", "SetDO doGrip, 1;"},
         {"digital-output", "", "1:  DO[3]=ON ;"}},
        {"   3:  DO[3:GRIP]=PULSE ;",
         0,
         {"pulse-length-unknown", "pulse-kept", "; pulse-kept T.LS:7:    3:  DO[3:GRIP]=PULSE ;"},
         {"pulse-length-unknown", "pulse-kept", "! pulse-kept T.LS:7:    3:  DO[3:GRIP]=PULSE ;"},
         {"digital-output", "", "1:  DO[3]=PULSE ;"}},
        {"   3:  WAIT DI[2]=ON ;",
         0,
         {"wait-input", "", "WAIT FOR $IN[2]"},
         {"wait-input", "", "WaitDI diPart, 1;"},
         {"wait-input", "", "1:  WAIT DI[2]=ON ;"}},
        {"   3:  WAIT DI[2]=ON TIMEOUT,LBL[1] ;",
         0,
         {"kept-construct", "timeout-kept",
          "; timeout-kept T.LS:7:    3:  WAIT DI[2]=ON TIMEOUT,LBL[1] ;"},
         {"kept-construct", "timeout-kept",
          "! timeout-kept T.LS:7:    3:  WAIT DI[2]=ON TIMEOUT,LBL[1] ;"},
         {"kept-construct", "timeout-kept", "1:  !timeout-kept T.LS:7 ;"}},
        {"   3:  WAIT   2.50(sec) ;",
         0,
         {"wait-time", "", "WAIT SEC 2.5"},
         {"wait-time", "", "WaitTime 2.5;"},
         {"wait-time", "", "1:  WAIT 2.50(sec) ;"}},
        {"   3:  CALL SUB1 ;",
         0,
         {"call", "", "SUB1( )"},
         {"call", "", "SUB1;"},
         {"call", "", "1:  CALL SUB1 ;"}},
        {"   3:  CALL SUB1(1,2) ;",
         0,
         {"kept-construct", "call-arguments-kept",
          "; call-arguments-kept T.LS:7:    3:  CALL SUB1(1,2) ;"},
         {"kept-construct", "call-arguments-kept",
          "! call-arguments-kept T.LS:7:    3:  CALL SUB1(1,2) ;"},
         {"kept-construct", "call-arguments-kept", "1:  !call-arguments-kept T.LS:7 ;"}},
        {"   3:  R[1]=R[1]+1 ;",
         0,
         {"kept-construct", "variable-kept", "; variable-kept T.LS:7:    3:  R[1]=R[1]+1 ;"},
         {"kept-construct", "variable-kept", "! variable-kept T.LS:7:    3:  R[1]=R[1]+1 ;"},
         {"kept-construct", "variable-kept", "1:  !variable-kept T.LS:7 ;"}},
        {"   3:  UFRAME[3]=PR[1] ;",
         0,
         {"kept-construct", "frame-definition-kept",
          "; frame-definition-kept T.LS:7:    3:  UFRAME[3]=PR[1] ;"},
         {"kept-construct", "frame-definition-kept",
          "! frame-definition-kept T.LS:7:    3:  UFRAME[3]=PR[1] ;"},
         {"kept-construct", "frame-definition-kept", "1:  !frame-definition-kept T.LS:7 ;"}},
        {"   3:  !a comment ;",
         0,
         {"comment", "", "; a comment"},
         {"comment", "", "! a comment"},
         {"comment", "", "1:  !a comment ;"}},
        // Motions between a jump and its label are kept: they may not run.
        {"   3:  JMP LBL[5] ;\n   4:L P[1:APPROACH] 500mm/sec FINE    ;\n   5:  LBL[5] ;",
         1,
         {"kept-construct", "logic-kept",
          "; logic-kept T.LS:8:    4:L P[1:APPROACH] 500mm/sec FINE    ;"},
         {"kept-construct", "logic-kept",
          "! logic-kept T.LS:8:    4:L P[1:APPROACH] 500mm/sec FINE    ;"},
         {"kept-construct", "logic-kept", "3:  !logic-kept T.LS:8 ;"}},
        // An output after a motion that rounds its corner may switch elsewhere.
        {"   3:L P[1:APPROACH] 500mm/sec CNT50    ;\n   4:  DO[3]=ON ;",
         1,
         {"io-near-blend", "io-near-blend", "$OUT[3] = TRUE ; io-near-blend"},
         {"io-near-blend", "io-near-blend", "SetDO doGrip, 1; ! io-near-blend"},
         {"digital-output", "", "6:  DO[3]=ON ;"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        check(c, fanucProgram, fanucTo);
    }
}

} // namespace
