#include "calibration/point_checks.h"

#include "calibration/tolerances.h"

#include <charconv>

namespace {

const std::string& nameAt(std::span<const std::string> names, std::size_t k) {
    static const std::string unnamed = "?";
    return k < names.size() ? names[k] : unnamed;
}

} // namespace

std::string decimalText(double value, int decimals) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    // Only a value beyond 1e60 does not fit, and no refusal names one.
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("?");
}

std::string nameList(std::span<const std::string> names) {
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) {
        text += k == 0 ? "" : (k + 1 == names.size() ? " and " : ", ");
        text += names[k];
    }
    return text;
}

bool checkFinite(std::span<const Point3> points, std::span<const std::string> names,
                 const char* side, std::string& refusal) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (!isFinite(points[k])) {
            refusal =
                std::string(side) + "point " + nameAt(names, k) + " has a value that is not finite";
            return false;
        }
    }
    return true;
}

bool checkDistinct(std::span<const Point3> points, std::span<const std::string> names,
                   const char* side, std::string& refusal) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            if (length(points[i] - points[j]) < coincidentMm) {
                refusal = std::string(side) + "points " + nameAt(names, i) + " and " +
                          nameAt(names, j) + " are closer than 1e-6 mm: one spot taught twice";
                return false;
            }
        }
    }
    return true;
}

bool checkNotOnOneLine(std::span<const Point3> points, std::span<const std::string> names,
                       const char* side, std::string& refusal) {
    if (points.size() < 2) {
        return true;
    }
    // The line through the first point and the one farthest from it: every
    // other point is then within twice its distance of that line's span.
    std::size_t far = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
        if (length(points[k] - points[0]) > length(points[far] - points[0])) {
            far = k;
        }
    }
    const Point3 direction = points[far] - points[0];
    const double span = length(direction);
    for (const Point3& p : points) {
        if (length(cross(direction, p - points[0])) / span > collinearRatio * span) {
            return true;
        }
    }
    refusal = std::string(side) + "points " + nameList(names) +
              " lie on one line: they do not fix a rotation about it";
    return false;
}
