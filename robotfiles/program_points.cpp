#include "robotfiles/program_points.h"

#include "robotfiles/scan_text.h"

#include <string_view>

namespace {

// ABB writes 9E9 (or 9E+09) for an external axis that is not there.
constexpr float abbNoAxis = 8.9e9f;

bool memberValue(const PoseRecord& record, std::string_view key, float& out) {
    for (const PoseMember& member : record.values) {
        if (member.key == key) {
            out = static_cast<float>(member.value);
            return true;
        }
    }
    return false;
}

const ExtraValue* extraValue(const PoseRecord& record, std::string_view key) {
    for (const ExtraItem& item : record.extra) {
        if (item.key == key) {
            return &item.value;
        }
    }
    return nullptr;
}

std::string extraText(const ExtraValue& value) {
    switch (value.kind) {
    case ExtraKind::number:
        return shortestFloat(value.number);
    case ExtraKind::integer:
    case ExtraKind::text:
        return value.text;
    case ExtraKind::truth:
        return value.truth ? "TRUE" : "FALSE";
    case ExtraKind::none:
        return "";
    case ExtraKind::list: {
        std::string text = "[";
        for (std::size_t k = 0; k < value.items.size(); ++k) {
            text += (k == 0 ? "" : ",") + extraText(value.items[k]);
        }
        return text + "]";
    }
    }
    return "";
}

std::string kukaConfig(const PoseRecord& record) {
    std::string text;
    for (const char* key : {"s", "t"}) {
        if (const ExtraValue* value = extraValue(record, key)) {
            text += text.empty() ? "" : ", ";
            text += static_cast<char>(key[0] - 'a' + 'A');
            text += ' ' + extraText(*value);
        }
    }
    return text;
}

bool kukaExternal(const PoseRecord& record) {
    for (const ExtraItem& item : record.extra) {
        if (item.key.size() == 2 && item.key[0] == 'e' && item.value.kind == ExtraKind::number &&
            item.value.number != 0.0f) {
            return true;
        }
    }
    return false;
}

bool abbExternal(const PoseRecord& record) {
    const ExtraValue* extax = extraValue(record, "extax");
    if (extax == nullptr) {
        return false;
    }
    for (const ExtraValue& axis : extax->items) {
        if (axis.kind == ExtraKind::number && !(axis.number > abbNoAxis)) {
            return true;
        }
    }
    return false;
}

bool fanucExternal(const PoseRecord& record) {
    for (const ExtraItem& item : record.extra) {
        if (item.key.size() >= 2 && item.key[0] == 'e' && isDigitByte(item.key[1])) {
            return true;
        }
    }
    return false;
}

} // namespace

void pointFromRecord(const PoseRecord& record, Point& point, bool otherGroups) {
    point = Point{};
    point.name = record.name;
    if (record.role == PoseRole::joint) {
        point.status = PointStatus::joint;
        return;
    }
    static const char* const kuka[] = {"x", "y", "z", "a", "b", "c"};
    static const char* const abb[] = {"x", "y", "z", "q1", "q2", "q3", "q4"};
    static const char* const fanuc[] = {"x", "y", "z", "w", "p", "r"};
    const char* const* keys = record.vendor == Vendor::abb     ? abb
                              : record.vendor == Vendor::fanuc ? fanuc
                                                               : kuka;
    const std::size_t count = record.vendor == Vendor::abb ? 7 : 6;
    float values[7] = {};
    bool complete = true;
    for (std::size_t k = 0; k < count; ++k) {
        complete = memberValue(record, keys[k], values[k]) && complete;
    }
    switch (record.vendor) {
    case Vendor::kuka:
        point.config = kukaConfig(record);
        point.externalAxes = kukaExternal(record);
        break;
    case Vendor::abb:
        if (const ExtraValue* robconf = extraValue(record, "robconf")) {
            point.config = extraText(*robconf);
        }
        point.externalAxes = abbExternal(record);
        break;
    case Vendor::fanuc:
        if (const ExtraValue* config = extraValue(record, "config")) {
            point.config = extraText(*config);
        }
        point.externalAxes = fanucExternal(record) || otherGroups;
        break;
    }
    switch (record.status) {
    case PoseStatus::ok:
        break;
    case PoseStatus::partial:
        point.status = PointStatus::partial;
        return;
    case PoseStatus::notUnit:
        point.status = PointStatus::notUnit;
        return;
    case PoseStatus::uninitialised:
        point.status = PointStatus::untaught;
        return;
    }
    if (!complete) {
        point.status = PointStatus::partial;
        return;
    }
    setPose(point, record.vendor, std::span<const float>(values, count));
}
