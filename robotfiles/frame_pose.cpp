#include "robotfiles/frame_pose.h"

#include "robotfiles/scan_text.h"

namespace {

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

} // namespace

bool isFramePose(std::string_view fileName, const PoseRecord& pose) {
    switch (pose.vendor) {
    case Vendor::kuka:
        return equalsNoCase(fileName, "$config.dat") || pose.nested ||
               startsWithNoCase(pose.name, "$") || startsWithNoCase(pose.name, "TOOL_DATA[") ||
               startsWithNoCase(pose.name, "BASE_DATA[") || startsWithNoCase(pose.name, "MACHINE_");
    case Vendor::abb:
        return pose.type != "robtarget";
    case Vendor::fanuc:
        return false;
    }
    return true;
}
