#include "robotfiles/pose_record.h"

#include <bit>
#include <cstdint>

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

const char* roleName(PoseRole role) {
    switch (role) {
    case PoseRole::position:
        return "position";
    case PoseRole::offset:
        return "offset";
    case PoseRole::frame:
        return "frame";
    case PoseRole::assignment:
        return "assignment";
    case PoseRole::initialisation:
        return "initialisation";
    case PoseRole::joint:
        return "joint";
    case PoseRole::undecided:
        return "undecided";
    }
    return "?";
}

bool roleOfName(std::string_view name, PoseRole& role) {
    for (int k = 0; k < poseRoleCount; ++k) {
        if (name == roleName(static_cast<PoseRole>(k))) {
            role = static_cast<PoseRole>(k);
            return true;
        }
    }
    return false;
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

bool operator==(const ExtraValue& a, const ExtraValue& b) {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
    case ExtraKind::number:
        return std::bit_cast<std::uint32_t>(a.number) == std::bit_cast<std::uint32_t>(b.number);
    case ExtraKind::integer:
    case ExtraKind::text:
        return a.text == b.text;
    case ExtraKind::truth:
        return a.truth == b.truth;
    case ExtraKind::none:
        return true;
    case ExtraKind::list:
        return a.items == b.items;
    }
    return false;
}

void setExtraNumber(ExtraValue& value, float number) {
    value.kind = ExtraKind::number;
    value.number = number;
}

void setExtraInteger(ExtraValue& value, std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    value.kind = ExtraKind::integer;
    value.text.assign(digits);
}

void setExtraText(ExtraValue& value, std::string_view text) {
    value.kind = ExtraKind::text;
    value.text.assign(text);
}

void setExtraTruth(ExtraValue& value, bool truth) {
    value.kind = ExtraKind::truth;
    value.truth = truth;
}

void setExtraNone(ExtraValue& value) {
    value.kind = ExtraKind::none;
}

std::vector<ExtraValue>& setExtraList(ExtraValue& value, std::size_t count) {
    value.kind = ExtraKind::list;
    value.items.resize(count);
    return value.items;
}
