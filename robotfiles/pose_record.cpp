#include "robotfiles/pose_record.h"

const char* vendorName(Vendor vendor) {
    switch (vendor) {
    case Vendor::kuka:
        return "kuka";
    case Vendor::abb:
        return "abb";
    case Vendor::fanuc:
        return "fanuc";
    }
    return "?";
}

const char* statusName(PoseStatus status) {
    switch (status) {
    case PoseStatus::ok:
        return "ok";
    case PoseStatus::partial:
        return "partial";
    case PoseStatus::notUnit:
        return "not_unit";
    case PoseStatus::uninitialised:
        return "uninitialised";
    }
    return "?";
}

std::string_view withoutLineEnd(std::string_view text) {
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return text;
}
