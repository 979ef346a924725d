#pragma once

#include "math/transform.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_record.h"
#include "robotfiles/pose_rewrite.h"

#include <cstdio>
#include <functional>
#include <string>

// Copies a robot program from one stream to another, replacing the numbers
// of every selected pose that moves and passing every other byte through.
// Memory stays within a line or an open statement, whatever the file's size.

enum class PoseFate {
    changed,
    unchanged,     // selected, but the move leaves it where it was
    notSelected,   // the caller's selection passed it over
    notConvertible // partial, uninitialised or not of unit length: never changed
};

struct RebaseCallbacks {
    // Whether the pose is to be moved.
    std::function<bool(const PoseRecord&)> selected;
    // What became of each pose the reader found.
    std::function<void(const PoseRecord&, PoseFate)> fate;
    std::function<void(const ScanWarning&)> warning;
};

struct RebaseStreamResult {
    bool readOk = true;   // false: the input could not be read (error says why)
    bool writeOk = true;  // false: the output could not be written
    bool refused = false; // a pose or a line could not be rewritten safely
    std::string error;    // for any of the three
    std::uint64_t changedPoses = 0;
};

RebaseStreamResult rebaseStream(std::FILE* in, std::FILE* out, Vendor vendor,
                                const ScanContext& context, const Transform& pre,
                                const Transform& post, const RebaseCallbacks& callbacks);
