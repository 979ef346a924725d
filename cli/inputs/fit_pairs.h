#pragma once

#include "calibration/rigid_fit.h"
#include "robotfiles/pose_record.h"

#include <optional>
#include <string>
#include <vector>

// The two inputs of a fit resolved into matched pairs of points.
struct FitPair {
    std::string name;          // as matched
    std::string nominalSource; // "FILE:LINE" of the nominal point (or the table's file:line)
    std::string measuredSource;
    Point3 nominal;
    Point3 measured;
    std::string poseName;         // the name alone, without the file of a folder's pose
    std::optional<Vendor> vendor; // of the measured point's file, else the nominal's
};

// A point of one side that the other has no namesake for: left out of the
// fit, and said so.
struct UnmatchedPoint {
    std::string name;
    std::string onlyIn; // the path given for the side that has it
    std::string source; // "FILE:LINE"
    bool nominal = true;
};

// NOMINAL and MEASURED: program files or folders (matched as `diff` matches them) or tables of
// points. False with a message (naming file and line where there is one) when they cannot be read
// or matched. Only named poses take part; --select patterns pick by name, --exclude patterns drop a
// pair by its name (or its name within its file).
// Points that --select and --exclude keep but only one side has go to
// unmatched, when given.
bool matchFitPairs(const std::string& nominalPath, const std::string& measuredPath,
                   const std::vector<std::string>& select, const std::vector<std::string>& exclude,
                   std::vector<FitPair>& pairs, std::string& message,
                   std::vector<UnmatchedPoint>* unmatched = nullptr);

// The rigid fit of the matched pairs, measured = frame * nominal.
RigidFit fitPairs(const std::vector<FitPair>& pairs);

// Where the points a refusal names were read: "; REF4 at old.dat:8 and
// new.dat:8", or nothing when none of them came from a file.
std::string whereNamed(const std::string& refusal, const std::vector<FitPair>& pairs);
