// Writes a large, realistic robot program of one vendor for the command
// line's benchmark: a CAM-generated KRL .src of inline motions, a RAPID
// module of MoveL instructions with inline robtargets, or a FANUC .ls whose
// /POS section holds one position a motion. Seeded, so every run measures
// the same bytes.
// Usage: generate_programs kuka|abb|fanuc MEGABYTES FILE

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

namespace {

std::string fixed(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

struct Walk {
    std::mt19937 random{20261208};
    double x = 1200, y = 0, z = 800, a = 0, b = 90, c = 0;

    void step() {
        std::uniform_real_distribution<double> move(-2.5, 2.5);
        std::uniform_real_distribution<double> turn(-0.5, 0.5);
        x += move(random);
        y += move(random);
        z += move(random);
        a = std::fmod(a + turn(random) + 540.0, 360.0) - 180.0;
        c = std::fmod(c + turn(random) + 540.0, 360.0) - 180.0;
    }
};

std::string kukaLine(Walk& w, long n) {
    std::string line = "LIN {X " + fixed(w.x, 3) + ",Y " + fixed(w.y, 3) + ",Z " + fixed(w.z, 3) +
                       ",A " + fixed(w.a, 3) + ",B " + fixed(w.b, 3) + ",C " + fixed(w.c, 3) +
                       "} C_DIS\n";
    if (n % 50 == 0) {
        line = "; layer " + std::to_string(n / 50) + "\n" + line;
    }
    return line;
}

std::string abbLine(Walk& w, long) {
    return "    MoveL [[" + fixed(w.x, 2) + "," + fixed(w.y, 2) + "," + fixed(w.z, 2) +
           "],[0.7071068,0,0.7071068,0],[0,0,-1,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]],"
           "v200,z1,tSpindle\\WObj:=wobjPart;\n";
}

std::string fanucPosition(Walk& w, long n) {
    return "P[" + std::to_string(n) +
           "]{\n   GP1:\n\tUF : 1, UT : 2,\t\tCONFIG : 'N U T, 0, 0, 0',\n\tX = " + fixed(w.x, 3) +
           "  mm,\tY = " + fixed(w.y, 3) + "  mm,\tZ = " + fixed(w.z, 3) +
           "  mm,\n\tW = " + fixed(w.c, 3) + " deg,\tP = " + fixed(w.b - 90.0, 3) +
           " deg,\tR = " + fixed(w.a, 3) + " deg\n};\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: generate_programs kuka|abb|fanuc MEGABYTES FILE\n");
        return 2;
    }
    const std::string_view vendor = argv[1];
    const long long bytes = std::atoll(argv[2]) * 1000000LL;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (out == nullptr || bytes <= 0) {
        std::fprintf(stderr, "generate_programs: cannot write %s\n", argv[3]);
        return 2;
    }
    Walk walk;
    long long written = 0;
    const auto put = [&](const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), out);
        written += static_cast<long long>(text.size());
    };
    if (vendor == "kuka") {
        put("&ACCESS RVP\nDEF milling( )\n$TOOL=TOOL_DATA[3]\n$BASE=BASE_DATA[1]\n"
            "$VEL.CP=0.2\n$APO.CDIS=0.5\n");
        for (long n = 1; written < bytes; ++n, walk.step()) {
            put(kukaLine(walk, n));
        }
        put("END\n");
    } else if (vendor == "abb") {
        put("MODULE Milling\n  PROC main()\n");
        for (long n = 1; written < bytes; ++n, walk.step()) {
            put(abbLine(walk, n));
        }
        put("  ENDPROC\nENDMODULE\n");
    } else if (vendor == "fanuc") {
        put("/PROG  MILLING\n/ATTR\nOWNER\t\t= MNEDITOR;\n/MN\n   1:L P[1] 100mm/sec CNT100    ;\n"
            "/POS\n");
        for (long n = 1; written < bytes; ++n, walk.step()) {
            put(fanucPosition(walk, n));
        }
        put("/END\n");
    } else {
        std::fprintf(stderr, "generate_programs: kuka, abb or fanuc, not %s\n", argv[1]);
        return 2;
    }
    return std::fclose(out) == 0 ? 0 : 2;
}
