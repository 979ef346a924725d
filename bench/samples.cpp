#include "bench/samples.h"

#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/self_test_data.h"

namespace {

Samples build(bool& ok) {
    Samples s;
    ok = true;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            const int k = 4 * i + j;
            ok = parseAbbText(abbSelfTestData.positions[i][j], s.quatPoses[k]) && ok;
            ok = parseFanucText(fanucSelfTestData.positions[i][j], s.eulerPoses[k]) && ok;
        }
    }
    for (int k = 0; k < sampleCount; ++k) {
        s.transforms[k] = k % 2 == 0 ? transformFromQuatPose(s.quatPoses[k])
                                     : transformFromEulerPose(s.eulerPoses[k]);
    }
    return s;
}

} // namespace

const Samples& samples(bool* ok) {
    static bool built = false;
    static const Samples s = build(built);
    if (ok != nullptr) {
        *ok = built;
    }
    return s;
}

const RobotText kukaTexts[2] = {
    {"E6POS", L"DECL E6POS XP1={X 1012.35,Y -245.8,Z 820.4,A 91.3,B -2.25,C -179.5,S 6,T 27,"
              L"E1 0.0,E2 0.0,E3 0.0,E4 0.0,E5 0.0,E6 0.0}"},
    {"FRAME", L"{X 1012.35, Y -245.80, Z 820.40, A 91.30, B -2.25, C -179.50}"},
};

const RobotText abbTexts[3] = {
    {"robtarget", L"CONST robtarget p20:=[[1012.35,-245.8,820.4],[0.0114,-0.7134,0.7006,0.0098],"
                  L"[0,-1,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];"},
    {"tooldata", L"PERS tooldata tGripper:=[TRUE,[[97.4,0,223.1],[0.92388,0,0.382683,0]],"
                 L"[5,[23,0,75],[1,0,0,0],0,0,0]];"},
    {"wobjdata", L"PERS wobjdata wobjTable:=[FALSE,TRUE,\"\",[[1200,-350,480],"
                 L"[0.92388,0,0,0.382683]],[[25,10,0],[1,0,0,0]]];"},
};

const RobotText fanucTexts[2] = {
    {"listing", L"P[1]{\r\n   GP1:\r\n\tUF : 1, UT : 2,\t\tCONFIG : 'N U T, 0, 0, 0',\r\n"
                L"\tX =  1012.350  mm,\tY =  -245.800  mm,\tZ =   820.400  mm,\r\n"
                L"\tW =  -179.500 deg,\tP =    -2.250 deg,\tR =    91.300 deg\r\n};"},
    {"copied", L"  X =  1012.350  mm,  Y =  -245.800  mm,  Z =   820.400  mm,\n"
               L"  W =  -179.500 deg,  P =    -2.250 deg,  R =    91.300 deg"},
};
