#include "translation/abb_data.h"

#include <cmath>
#include <limits>

namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

constexpr AbbSpeedData speeds[] = {
    {"v5", {5, 500, 5000, 1000}},       {"v10", {10, 500, 5000, 1000}},
    {"v20", {20, 500, 5000, 1000}},     {"v30", {30, 500, 5000, 1000}},
    {"v40", {40, 500, 5000, 1000}},     {"v50", {50, 500, 5000, 1000}},
    {"v60", {60, 500, 5000, 1000}},     {"v80", {80, 500, 5000, 1000}},
    {"v100", {100, 500, 5000, 1000}},   {"v150", {150, 500, 5000, 1000}},
    {"v200", {200, 500, 5000, 1000}},   {"v300", {300, 500, 5000, 1000}},
    {"v400", {400, 500, 5000, 1000}},   {"v500", {500, 500, 5000, 1000}},
    {"v600", {600, 500, 5000, 1000}},   {"v800", {800, 500, 5000, 1000}},
    {"v1000", {1000, 500, 5000, 1000}}, {"v1500", {1500, 500, 5000, 1000}},
    {"v2000", {2000, 500, 5000, 1000}}, {"v2500", {2500, 500, 5000, 1000}},
    {"v3000", {3000, 500, 5000, 1000}}, {"v4000", {4000, 500, 5000, 1000}},
    {"v5000", {5000, 500, 5000, 1000}}, {"v6000", {6000, 500, 5000, 1000}},
    {"v7000", {7000, 500, 5000, 1000}}, {"vmax", {notANumber, 500, 5000, 1000}},
};

// From z10 on pzone_ori = 1.5 pzone_tcp and zone_ori = 0.15 deg/mm, rounded
// as the reference rounds z15 and z150.
constexpr AbbZoneData zones[] = {
    {"fine", {1, 0, 0, 0, 0, 0, 0}},           {"z0", {0, 0.3f, 0.3f, 0.3f, 0.03f, 0.3f, 0.03f}},
    {"z1", {0, 1, 1, 1, 0.1f, 1, 0.1f}},       {"z5", {0, 5, 8, 8, 0.8f, 8, 0.8f}},
    {"z10", {0, 10, 15, 15, 1.5f, 15, 1.5f}},  {"z15", {0, 15, 23, 23, 2.3f, 23, 2.3f}},
    {"z20", {0, 20, 30, 30, 3, 30, 3}},        {"z30", {0, 30, 45, 45, 4.5f, 45, 4.5f}},
    {"z40", {0, 40, 60, 60, 6, 60, 6}},        {"z50", {0, 50, 75, 75, 7.5f, 75, 7.5f}},
    {"z60", {0, 60, 90, 90, 9, 90, 9}},        {"z80", {0, 80, 120, 120, 12, 120, 12}},
    {"z100", {0, 100, 150, 150, 15, 150, 15}}, {"z150", {0, 150, 225, 225, 23, 225, 23}},
    {"z200", {0, 200, 300, 300, 30, 300, 30}},
};

bool sameName(std::string_view a, const char* b) {
    std::size_t k = 0;
    for (; k < a.size() && b[k] != '\0'; ++k) {
        const char x = (a[k] >= 'A' && a[k] <= 'Z') ? static_cast<char>(a[k] - 'A' + 'a') : a[k];
        if (x != b[k]) {
            return false;
        }
    }
    return k == a.size() && b[k] == '\0';
}

} // namespace

const AbbSpeedData* findAbbSpeed(std::string_view name) {
    for (const AbbSpeedData& speed : speeds) {
        if (sameName(name, speed.name)) {
            return &speed;
        }
    }
    return nullptr;
}

const AbbSpeedData* abbSpeedOfTcp(double millimetresPerSecond) {
    for (const AbbSpeedData& speed : speeds) {
        // Equal as the controller stores it: a float.
        if (speed.values[0] == static_cast<float>(millimetresPerSecond)) {
            return &speed;
        }
    }
    return nullptr;
}

const AbbZoneData* findAbbZone(std::string_view name) {
    for (const AbbZoneData& zone : zones) {
        if (sameName(name, zone.name)) {
            return &zone;
        }
    }
    return nullptr;
}

const AbbZoneData* abbZoneOfDistance(float millimetres) {
    for (const AbbZoneData& zone : zones) {
        if (zone.values[0] == 0.0f && zone.values[1] == millimetres) {
            return &zone;
        }
    }
    return nullptr;
}
