#pragma once

// Reads a fixture file of tests/robotfiles/fixtures with a vendor's reader
// and keeps what it reported.

#include "robotfiles/file_scan.h"
#include "robotfiles/scan_text.h"

#include <cstdio>
#include <string>
#include <vector>

struct ScanResult {
    bool opened = false;
    std::vector<PoseRecord> poses;
    std::vector<ScanWarning> warnings;
};

inline ScanResult scanFixture(const std::string& name, Vendor vendor) {
    ScanResult result;
    const std::string path = std::string(POSEBRIDGE_FIXTURES) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return result;
    }
    result.opened = true;
    ScanCallbacks out;
    out.pose = [&](const PoseRecord& pose) { result.poses.push_back(pose); };
    out.warning = [&](const ScanWarning& warning) { result.warnings.push_back(warning); };
    scanStream(file, vendor, out);
    std::fclose(file);
    return result;
}

// The member or axis of that key, or nullptr.
inline const PoseMember* member(const PoseRecord& pose, const std::string& key) {
    for (const auto* members : {&pose.values, &pose.axes}) {
        for (const PoseMember& m : *members) {
            if (m.key == key) {
                return &m;
            }
        }
    }
    return nullptr;
}

// An extra value as the readers' tests spell it: JSON's form (6, "N U T",
// [1,0,0,0], true, null), numbers as the shortest decimal of their float.
inline std::string extraText(const ExtraValue& value) {
    switch (value.kind) {
    case ExtraKind::number:
        return shortestFloat(value.number);
    case ExtraKind::integer:
        return value.text;
    case ExtraKind::text: {
        std::string text = "\"";
        for (const char c : value.text) {
            text += c == '"' || c == '\\' ? std::string{'\\', c} : std::string(1, c);
        }
        return text + "\"";
    }
    case ExtraKind::truth:
        return value.truth ? "true" : "false";
    case ExtraKind::none:
        return "null";
    case ExtraKind::list: {
        std::string text = "[";
        for (const ExtraValue& item : value.items) {
            text += (text.size() > 1 ? "," : "") + extraText(item);
        }
        return text + "]";
    }
    }
    return "?";
}
