// The points of frame, fit and tool as the command line names them. The
// first byte picks the vendor, whether a whole pose is needed and one of
// four ways in:
// - PATH:NAME's NAME and --points/--select's patterns on a program held in
//   memory (the rest of the input), through the cores the file versions call;
// - PATH:NAME of a small program file written once at start-up, which must
//   give what the in-memory core gives for the same program;
// - any text as a point argument (a pose text, x,y,z or a reference).
// What is found is named as asked, sorted, never twice; what is refused is
// refused with a message naming the file.

#include "cli/inputs/file_list.h"
#include "cli/inputs/taught_points.h"
#include "fuzz/fuzz_input.h"
#include "math/matrix_validation.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_names.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {

// One small program of each vendor, names in several spellings.
const char* const programs[3] = {
    "DEFDAT base\n"
    "DECL GLOBAL FRAME gfMeasPoint[3]\n"
    "gfMeasPoint[1]={X 900.000,Y -400.000,Z 300.000,A 0.0,B 90.0,C 0.0}\n"
    "gfMeasPoint[2]={X 1388.422,Y -51.612,Z 291.623,A 0.0,B 90.0,C 0.0}\n"
    "DECL FRAME Xp1={X 0.0,Y 0.0,Z 0.0,A 0.0,B 0.0,C 0.0}\n"
    "DECL FRAME XP2={X 100.0,Y 0.0,Z 0.0,A 0.0,B 0.0,C 0.0}\n"
    "DECL FRAME xp10={X 0.0,Y 100.0,Z 0.0,A 0.0,B 0.0,C 0.0}\n"
    "DECL POS pOnly={X 1.0,Y 2.0,Z 3.0}\n"
    "ENDDAT\n",
    "MODULE Points\n"
    "  CONST robtarget p10:=[[1362.5,-216.8,825.4],[0,0,1,0],[0,0,0,0],"
    "[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];\n"
    "  CONST robtarget P2:=[[1439.682,-216.8,802.747],[0.2164396,0,-0.976296,0],[0,0,0,0],"
    "[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];\n"
    "  PERS wobjdata wobjTable:=[FALSE,TRUE,\"\",[[500,0,0],[1,0,0,0]],[[0,0,0],[1,0,0,0]]];\n"
    "  CONST robtarget pBad:=[[1,2,3],[0.5,0.5,0.5,0.4],[0,0,0,0],"
    "[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];\n"
    "ENDMODULE\n",
    "/PROG  UFRAME3\n/MN\n   1:L P[1] 100mm/sec FINE    ;\n/POS\n"
    "P[1:\"X START\"]{\n   GP1:\n\tUF : 0, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n"
    "\tX =  1543.301  mm,\tY =   325.000  mm,\tZ =   450.000  mm,\n"
    "\tW =  -180.000 deg,\tP =     0.000 deg,\tR =    30.000 deg\n};\n"
    "P[2]{\n   GP1:\n\tUF : 0, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n"
    "\tX =  ********  mm,\tY =   525.000  mm,\tZ =   450.000  mm,\n"
    "\tW =  -180.000 deg,\tP =     0.000 deg,\tR =    30.000 deg\n};\n"
    "P[3]{\n   GP1:\n\tUF : 0, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n"
    "\tX =  1453.923  mm,\tY =   619.808  mm,\tZ =   450.000  mm,\n"
    "\tW =  -180.000 deg,\tP =     0.000 deg,\tR =    30.000 deg\n"
    "   GP2:\n\tUF : 0, UT : 1,\n\tJ1 =  10.000 deg\n};\n/END\n",
};
const char* const fileNames[3] = {"base.dat", "points.mod", "uframe3.ls"};
const Vendor vendors[3] = {Vendor::kuka, Vendor::abb, Vendor::fanuc};

struct Fixed {
    std::string path; // the program file written at start-up
    InputFile file;   // as the in-memory core names it
    std::vector<PoseRecord> poses;
};
Fixed fixed[3];

std::vector<PoseRecord> scanPoses(std::string_view text, Vendor vendor, std::string_view name) {
    std::vector<PoseRecord> poses;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) { poses.push_back(pose); };
    callbacks.warning = [](const ScanWarning&) {};
    ScanContext context;
    context.fileName = name;
    scanText(text, vendor, callbacks, context);
    return poses;
}

InputFile memoryFile(int vendor, const std::string& shown) {
    InputFile file;
    file.path = pathFromUtf8(shown);
    file.shown = shown;
    file.relative = shown;
    file.vendor = vendors[vendor];
    return file;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

void checkTaught(const TaughtPose& taught, bool needPose) {
    FUZZ_CHECK(!needPose || taught.hasOrientation);
    if (taught.hasOrientation) {
        FUZZ_CHECK(isRigidTransform(taught.pose));
    }
}

// NAME among the poses: the one pose of that name, or a refusal naming the file.
void checkNamed(const InputFile& file, const std::vector<PoseRecord>& poses,
                const std::string& name, bool needPose) {
    TaughtPose taught;
    std::string message;
    const std::size_t named = std::count_if(poses.begin(), poses.end(), [&](const PoseRecord& p) {
        return !p.name.empty() && poseKey(p) == nameKey(name);
    });
    if (!namedFilePose(file, poses, name, needPose, taught, message)) {
        FUZZ_CHECK(startsWith(message, file.shown + ":"));
        return;
    }
    FUZZ_CHECK(named == 1);
    FUZZ_CHECK(nameKey(taught.name) == nameKey(name));
    FUZZ_CHECK(startsWith(taught.source, file.shown + ":"));
    checkTaught(taught, needPose);
}

// --select: every named pose that matches, in natural order, none twice.
void checkSelected(const InputFile& file, const std::vector<PoseRecord>& poses,
                   const std::vector<std::string>& patterns, bool needPose) {
    std::vector<TaughtPose> chosen;
    std::string message;
    if (!selectPoses(file, poses, patterns, needPose, chosen, message)) {
        FUZZ_CHECK(startsWith(message, file.shown + ":"));
        return;
    }
    const std::size_t matching =
        std::count_if(poses.begin(), poses.end(), [&](const PoseRecord& p) {
            return !p.name.empty() &&
                   (patterns.empty() ||
                    std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
                        return matchesPattern(pattern, shownName(p));
                    }));
        });
    FUZZ_CHECK(chosen.size() == matching);
    std::set<std::string> keys;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        checkTaught(chosen[k], needPose);
        FUZZ_CHECK(keys.insert(nameKey(chosen[k].name)).second);
        FUZZ_CHECK(k == 0 || !naturalNameLess(chosen[k].name, chosen[k - 1].name));
    }
}

// PATH:NAME of the file on disk gives what the in-memory core gives.
void checkReference(int vendor, const std::string& name, bool needPose) {
    const Fixed& program = fixed[vendor];
    TaughtPose fromFile;
    std::string fileMessage;
    const bool found =
        resolvePointArgument(program.path + ":" + name, needPose, fromFile, fileMessage);
    if (name.empty() || name.find(':') != std::string::npos) {
        return; // not a reference to this file: the other ways read it
    }
    TaughtPose inMemory;
    std::string memoryMessage;
    FUZZ_CHECK(found ==
               namedFilePose(program.file, program.poses, name, needPose, inMemory, memoryMessage));
    FUZZ_CHECK(fileMessage == memoryMessage);
    if (found) {
        FUZZ_CHECK(fromFile.name == inMemory.name && fromFile.source == inMemory.source);
        FUZZ_CHECK(std::memcmp(fromFile.pose.e, inMemory.pose.e, sizeof fromFile.pose.e) == 0);
    }
}

bool namesExistingFile(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(pathFromUtf8(text.substr(0, colon)), error);
}

// Any text as an argument: a pose, x,y,z, or refused with a message. A text
// whose PATH names a file of this machine is left alone: the fuzzer is not to
// read the machine's files.
void checkArgument(const std::string& text, bool needPose) {
    if (namesExistingFile(text)) {
        return;
    }
    TaughtPose taught;
    std::string message;
    if (!resolvePointArgument(text, needPose, taught, message)) {
        FUZZ_CHECK(!message.empty());
        return;
    }
    FUZZ_CHECK(taught.name == text && taught.source == "command line");
    checkTaught(taught, needPose);
}

} // namespace

namespace {
std::filesystem::path folder; // of the programs written at start-up
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::error_code error;
    folder = std::filesystem::temp_directory_path(error) /
             ("posebridge-fuzz-points-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(folder, error);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    for (int k = 0; k < 3; ++k) {
        fixed[k].path = utf8FromPath(folder / fileNames[k]);
        std::FILE* stream = std::fopen(fixed[k].path.c_str(), "wb");
        if (stream == nullptr) {
            std::abort();
        }
        std::fputs(programs[k], stream);
        std::fclose(stream);
        fixed[k].file = memoryFile(k, fixed[k].path);
        fixed[k].poses = scanPoses(programs[k], vendors[k], fileNames[k]);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    const int vendor = choice % 3;
    const bool needPose = (choice & 4) != 0;
    const int way = (choice >> 3) % 4;
    const std::string name = input.ConsumeRandomLengthString(256);
    switch (way) {
    case 0:
    case 1: {
        const std::string program = input.ConsumeRemainingBytesAsString();
        const InputFile file = memoryFile(vendor, fileNames[vendor]);
        const std::vector<PoseRecord> poses =
            scanPoses(program, vendors[vendor], fileNames[vendor]);
        if (way == 0) {
            checkNamed(file, poses, name, needPose);
        } else {
            // As --select "A,B" gives them: split at commas.
            std::vector<std::string> patterns;
            std::size_t start = 0;
            for (std::size_t comma = name.find(','); !name.empty(); comma = name.find(',', start)) {
                patterns.push_back(name.substr(start, comma - start));
                if (comma == std::string::npos) {
                    break;
                }
                start = comma + 1;
            }
            checkSelected(file, poses, patterns, needPose);
        }
        break;
    }
    case 2:
        checkReference(vendor, name, needPose);
        break;
    default:
        checkArgument(name + input.ConsumeRemainingBytesAsString(), needPose);
        break;
    }
    return 0;
}
