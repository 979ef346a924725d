#pragma once

#include "calibration/point3.h"
#include "math/transform.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The rigid transformation (rotation and translation, no scale) that carries
// nominal points onto measured ones in the least-squares sense over their
// positions, by Horn's quaternion method. Horn's quaternion is always a
// proper rotation, so a measured set that is a mirror image of the nominal
// one gets the best rotation, and the warning below.
struct RigidFit {
    bool ok = false;
    std::string refusal;           // why, naming the points, when !ok
    Transform frame;               // measured ≈ frame * nominal, a proper rotation
    std::vector<double> residuals; // |frame * nominal[i] - measured[i]| in mm, in the order given
    double rms = 0.0, mean = 0.0, max = 0.0;
    std::size_t worst = 0; // index of the largest residual
    bool mirrored = false; // the reflection guard was needed while the points span 3D
};

// At least three pairs, not on one line, none two on one spot.
RigidFit fitRigid(std::span<const Point3> nominal, std::span<const Point3> measured,
                  std::span<const std::string> names);
