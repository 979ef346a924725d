#include "robotfiles/pose_rewrite.h"

#include "math/euler_pose.h"
#include "math/number_text.h"
#include "math/quat_pose.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <cfloat>
#include <cmath>

namespace {

// Two matrices this close are the same pose: rewriting it would only turn
// the file's own spelling into ours.
constexpr double sameMatrix = 1e-12;

bool nearlySame(const Transform& p, const Transform& q) {
    for (int k = 0; k < 16; ++k) {
        if (!(std::fabs(p.e[k] - q.e[k]) <= sameMatrix)) {
            return false;
        }
    }
    return true;
}

// The new values of the vendor's members, worked out once a pose.
struct NewValues {
    const char* keys[7];
    double values[7];
    int count = 0;
};

NewValues newValues(Vendor vendor, const Transform& m) {
    NewValues n;
    if (vendor == Vendor::abb) {
        const QuatPose q = quatPoseFromTransform(m);
        n = NewValues{
            {"x", "y", "z", "q1", "q2", "q3", "q4"}, {q.x, q.y, q.z, q.q1, q.q2, q.q3, q.q4}, 7};
        return n;
    }
    const EulerPose e = eulerPoseFromTransform(m);
    // KUKA's A, B, C are a, b, c; FANUC's W, P, R are c, b, a.
    if (vendor == Vendor::kuka) {
        n = NewValues{{"x", "y", "z", "a", "b", "c"}, {e.x, e.y, e.z, e.a, e.b, e.c}, 6};
    } else {
        n = NewValues{{"x", "y", "z", "w", "p", "r"}, {e.x, e.y, e.z, e.c, e.b, e.a}, 6};
    }
    return n;
}

bool newValue(const NewValues& n, const std::string& key, double& value) {
    for (int k = 0; k < n.count; ++k) {
        if (key == n.keys[k]) {
            value = n.values[k];
            return true;
        }
    }
    return false;
}

// The byte at a file offset, if the window holds it.
bool byteAt(const ByteWindow& window, std::uint64_t offset, char& byte) {
    if (offset < window.start || offset - window.start >= window.text.size()) {
        return false;
    }
    byte = window.text[offset - window.start];
    return true;
}

// A FANUC listing writes numbers right-aligned after "=": the blanks before
// the number belong to its field, so the new number takes the same field
// and keeps the column where it fits.
bool fanucReplacement(const PoseMember& member, double value, const ByteWindow& window,
                      Replacement& replacement) {
    char buffer[64];
    if (formatFixed(value, FixedFormat{3, 0, false}, buffer, sizeof buffer) < 0) {
        return false;
    }
    std::string text = buffer;
    // A value that rounds to zero is written without a sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    char first = '\0';
    char second = '\0';
    byteAt(window, member.text.offset, first);
    byteAt(window, member.text.offset + 1, second);
    const bool oldLeadingZero =
        !(first == '.' || ((first == '-' || first == '+') && second == '.'));
    if (!oldLeadingZero) {
        if (text.rfind("0.", 0) == 0) {
            text.erase(0, 1);
        } else if (text.rfind("-0.", 0) == 0) {
            text.erase(1, 1);
        }
    }
    std::uint64_t start = member.text.offset;
    char before = '\0';
    while (start > window.start && byteAt(window, start - 1, before) && before == ' ') {
        --start;
    }
    const std::uint64_t field = member.text.offset + member.text.length - start;
    const std::uint64_t keepBlank = start < member.text.offset ? 1 : 0;
    if (text.size() + keepBlank <= field) {
        text.insert(0, field - text.size(), ' ');
    } else {
        text.insert(0, keepBlank, ' ');
    }
    replacement.offset = start;
    replacement.length = field;
    replacement.text = text;
    return true;
}

} // namespace

RewriteOutcome rewritePose(const PoseRecord& pose, const Transform& pre, const Transform& post,
                           const ByteWindow& window, std::vector<Replacement>& out,
                           std::string& message) {
    Transform old;
    if (!transformOfRecord(pose, old)) {
        message = "the pose cannot be converted";
        return RewriteOutcome::refused;
    }
    const Transform moved = multiply(multiply(pre, old), post);
    if (nearlySame(moved, old)) {
        return RewriteOutcome::unchanged;
    }
    std::vector<Replacement> made;
    const NewValues values = newValues(pose.vendor, moved);
    for (const PoseMember& member : pose.values) {
        double value = 0.0;
        if (!newValue(values, member.key, value)) {
            message = "member " + member.key + " has no new value";
            return RewriteOutcome::refused;
        }
        if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX)) {
            message = "the new value of " + member.key + " is beyond what the controller stores";
            return RewriteOutcome::refused;
        }
        if (member.text.length == 0) {
            message = "the pose is computed, not written in the file";
            return RewriteOutcome::refused;
        }
        // A member the move leaves alone keeps its own text.
        if (static_cast<float>(value) == static_cast<float>(member.value)) {
            continue;
        }
        Replacement replacement;
        if (pose.vendor == Vendor::fanuc) {
            if (!fanucReplacement(member, value, window, replacement)) {
                message = "the new value of " + member.key + " does not fit";
                return RewriteOutcome::refused;
            }
        } else {
            replacement.offset = member.text.offset;
            replacement.length = member.text.length;
            replacement.text = shortestFloat(static_cast<float>(value));
        }
        made.push_back(replacement);
    }
    out.insert(out.end(), made.begin(), made.end());
    return RewriteOutcome::changed;
}
