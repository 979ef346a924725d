#pragma once

#include "math/transform.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The new text of a pose that moves: which bytes of the file change, and to
// what. Every other byte stays as it was.
struct Replacement {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::string text;
};

enum class RewriteOutcome {
    changed,   // replacements were made
    unchanged, // the new matrix equals the old one within 1e-12: not touched
    refused,   // the pose cannot be written (see the message)
};

// A window of the file's bytes: text holds the bytes from offset start on.
struct ByteWindow {
    std::string_view text;
    std::uint64_t start = 0;
};

// Computes newPose = pre * pose * post for a pose whose status is ok and
// appends the replacements of the members whose float value changes: the
// shortest decimal of the new float for KRL and RAPID, the listing's fixed
// layout (three decimals, the column kept, no leading zero where the old
// number had none) for FANUC. An ABB quaternion gets the window's sign rule,
// Euler angles the core's canonical ones.
RewriteOutcome rewritePose(const PoseRecord& pose, const Transform& pre, const Transform& post,
                           const ByteWindow& window, std::vector<Replacement>& out,
                           std::string& message);
