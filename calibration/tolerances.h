#pragma once

// The limits below which taught points no longer define a frame, named once.

// Two points closer than this are one point taught twice.
constexpr double coincidentMm = 1e-6;
// Points lie on one line when none is farther from it than this fraction of
// their span: the frame's third axis would then be rounding noise.
constexpr double collinearRatio = 1e-9;
// A measured set is called a mirror image only where the points span 3D:
// their thinnest extent at least this fraction of their widest.
constexpr double mirrorExtentRatio = 0.01;
// A Z or X pose of a tool must keep the reference pose's orientation: turned
// by more than this, the axes drawn from it would be wrong.
constexpr double sameOrientationDeg = 0.1;
// The orientations of a tool's poses must spread at least this far in each
// direction, or the TCP is poorly defined along it.
constexpr double defaultMinSpreadDeg = 5.0;

constexpr double degreesPerRadian = 57.295779513082320876798154814105;
