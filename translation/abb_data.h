#pragma once

#include <string_view>

// ABB's predefined speeddata and zonedata, which programs use by name
// without declaring them. The values are those of the RAPID reference.

struct AbbSpeedData {
    const char* name;
    float values[4]; // v_tcp mm/s, v_ori deg/s, v_leax mm/s, v_reax deg/s
};

struct AbbZoneData {
    const char* name;
    float values[7]; // finep, pzone_tcp, pzone_ori, pzone_eax, zone_ori, zone_leax, zone_reax
};

// vmax is the robot's own maximum: found, with v_tcp not a number.
const AbbSpeedData* findAbbSpeed(std::string_view name);
// The predefined vN of exactly this TCP speed, or nullptr.
const AbbSpeedData* abbSpeedOfTcp(double millimetresPerSecond);

const AbbZoneData* findAbbZone(std::string_view name);
// The predefined zone (z0 to z200) of exactly this pzone_tcp, or nullptr.
const AbbZoneData* abbZoneOfDistance(float millimetres);
