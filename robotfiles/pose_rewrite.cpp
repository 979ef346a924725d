#include "robotfiles/pose_rewrite.h"

#include "math/euler_pose.h"
#include "math/number_text.h"
#include "math/quat_pose.h"
#include "robotfiles/fanuc/fanuc_writer.h"
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
            if (!fanucNumberReplacement(member, value, window, replacement)) {
                message = "the new value of " + member.key + " does not fit";
                return RewriteOutcome::refused;
            }
        } else {
            replacement.offset = member.text.offset;
            replacement.length = member.text.length;
            // KRL and RAPID: the shortest decimal that reads back to the new float.
            replacement.text = shortestFloat(static_cast<float>(value));
        }
        made.push_back(replacement);
    }
    out.insert(out.end(), made.begin(), made.end());
    return RewriteOutcome::changed;
}
