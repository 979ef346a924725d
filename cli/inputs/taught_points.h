#pragma once

#include "calibration/point3.h"
#include "cli/inputs/file_list.h"
#include "math/transform.h"
#include "robotfiles/pose_record.h"

#include <optional>
#include <string>
#include <vector>

// The points and poses the calibration commands take, resolved from the
// command line: a reference PATH:NAME to a pose of a program file (the last
// ':' splits, so Windows paths work), a pose text that `convert` reads, or
// x,y,z for a bare point; or every pose of a file whose name matches.
struct TaughtPose {
    std::string name;   // as found in the file, or the text as given
    std::string source; // "FILE:LINE", or "command line"
    Point3 position;
    Transform pose; // the identity rotation for a bare point
    bool hasOrientation = false;
    std::optional<Vendor> vendor; // of the file, or of the text's notation
};

// The position a record holds (its x, y and z), which is all a point needs;
// false when a member is missing or the pose is uninitialised.
bool positionOfRecord(const PoseRecord& pose, Point3& position);

// A TaughtPose from one record; false with a FILE:LINE:COLUMN message when
// it lacks what is needed (a position; with needPose, a whole pose).
bool taughtOfRecord(const InputFile& file, const PoseRecord& pose, bool needPose, TaughtPose& out,
                    std::string& message);

// One argument: PATH:NAME, a pose text, or x,y,z (refused with needPose).
bool resolvePointArgument(const std::string& text, bool needPose, TaughtPose& out,
                          std::string& message);

// Every named pose of one program file matching one of the patterns (all of
// them without patterns), in natural name order (P2 before P10).
bool selectFilePoints(const std::string& path, const std::vector<std::string>& patterns,
                      bool needPose, std::vector<TaughtPose>& out, std::string& message);

// The points of a command: each argument in turn, or (without arguments)
// the file's poses selected as above. False with a message for the first
// that cannot be resolved, or when both or neither are given.
bool resolvePoints(const std::vector<std::string>& given, const std::string& pointsPath,
                   const std::vector<std::string>& select, bool needPose,
                   std::vector<TaughtPose>& out, std::string& message);

// Exactly three numbers separated by commas: a bare point.
bool readBarePoint(const std::string& text, Point3& point);

// The vendor the points came from: the first that tells one.
std::optional<Vendor> vendorOfPoints(const std::vector<TaughtPose>& points);

// Where the points a refusal names were read: "; gfMeasPoint[1] at
// base.dat:7, ...", or nothing when none of them came from a file.
std::string whereNamed(const std::string& refusal, const std::vector<TaughtPose>& points);
