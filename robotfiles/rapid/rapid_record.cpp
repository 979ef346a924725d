#include "robotfiles/rapid/rapid_record.h"

#include "math/quat_pose.h"
#include "robotfiles/scan_text.h"

#include <charconv>
#include <string>

namespace {

const char* const memberKeys[7] = {"x", "y", "z", "q1", "q2", "q3", "q4"};

const char* typeName(RapidType type) {
    switch (type) {
    case RapidType::robtarget:
        return "robtarget";
    case RapidType::tooldata:
        return "tooldata";
    case RapidType::wobjdata:
        return "wobjdata";
    case RapidType::pose:
        return "pose";
    case RapidType::jointtarget:
        return "jointtarget";
    }
    return "?";
}

void setNumbers(ExtraValue& value, const RapidNumber* numbers, int count) {
    std::vector<ExtraValue>& items = setExtraList(value, static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        setExtraNumber(items[static_cast<std::size_t>(i)], numbers[i].value);
    }
}

// [[x, y, z], [q1, q2, q3, q4]]
void setFrame(ExtraValue& value, const RapidFrame& frame) {
    std::vector<ExtraValue>& items = setExtraList(value, 2);
    setNumbers(items[0], frame.trans, 3);
    setNumbers(items[1], frame.rot, 4);
}

QuatPose quatPoseOf(const RapidFrame& frame) {
    return makeQuatPose(frame.trans[0].value, frame.trans[1].value, frame.trans[2].value,
                        frame.rot[0].value, frame.rot[1].value, frame.rot[2].value,
                        frame.rot[3].value);
}

// The members as read, each with the bytes of its number.
void setReadMembers(const RapidFrame& frame, std::uint64_t textOffset, PoseRecord& record) {
    const RapidNumber* numbers[7] = {&frame.trans[0], &frame.trans[1], &frame.trans[2],
                                     &frame.rot[0],   &frame.rot[1],   &frame.rot[2],
                                     &frame.rot[3]};
    for (int i = 0; i < 7; ++i) {
        PoseMember& member = record.values[i];
        member.value = numbers[i]->value;
        member.text.offset = textOffset + numbers[i]->at;
        member.text.length = static_cast<std::uint32_t>(numbers[i]->length);
    }
}

// A work object's pose is its user frame followed by its object frame, as
// the window composes it; the members are computed, so no bytes are theirs.
void setComposedMembers(const RapidValue& value, PoseRecord& record) {
    const QuatPose user = quatPoseOf(value.frame);
    const QuatPose object = quatPoseOf(value.objectFrame);
    const QuatPose composed =
        quatPoseFromTransform(multiply(transformFromQuatPose(user), transformFromQuatPose(object)));
    const double members[7] = {composed.x,  composed.y,  composed.z, composed.q1,
                               composed.q2, composed.q3, composed.q4};
    for (int i = 0; i < 7; ++i) {
        record.values[i].value = members[i];
        record.values[i].text.offset = record.offset;
        record.values[i].text.length = 0;
    }
    record.status = user.unitLength && object.unitLength ? PoseStatus::ok : PoseStatus::notUnit;
}

ExtraValue& extraItem(PoseRecord& record, std::size_t index, const char* key) {
    ExtraItem& item = record.extra[index];
    if (item.key != key) {
        item.key = key;
    }
    return item.value;
}

// ufmec with each doubled quote read as one.
std::string ufmecText(std::string_view written) {
    std::string text;
    for (std::size_t i = 0; i < written.size(); ++i) {
        text += written[i];
        if (written[i] == '"' && i + 1 < written.size() && written[i + 1] == '"') {
            ++i;
        }
    }
    return text;
}

// Axis values as read: a1 ... a6 of robax, e1 ... e6 of extax (9E9 where
// an axis is not used, as RAPID writes it).
void setAxes(const RapidValue& value, std::uint64_t textOffset, PoseRecord& record) {
    static const char* const keys[12] = {"a1", "a2", "a3", "a4", "a5", "a6",
                                         "e1", "e2", "e3", "e4", "e5", "e6"};
    record.values.clear();
    record.extra.clear();
    record.axes.resize(12);
    for (int i = 0; i < 12; ++i) {
        const RapidNumber& number = i < 6 ? value.robax[i] : value.extax[i - 6];
        PoseMember& axis = record.axes[static_cast<std::size_t>(i)];
        if (axis.key != keys[i]) {
            axis.key = keys[i];
        }
        axis.value = number.value;
        axis.text.offset = textOffset + number.at;
        axis.text.length = static_cast<std::uint32_t>(number.length);
    }
    record.status = PoseStatus::ok;
}

} // namespace

void fillRapidRecord(const RapidValue& value, std::string_view text, std::uint64_t textOffset,
                     PoseRecord& record) {
    record.vendor = Vendor::abb;
    record.type = typeName(value.type);
    if (value.type == RapidType::jointtarget) {
        setAxes(value, textOffset, record);
        return;
    }
    record.axes.clear();
    // Every type has the same members; the keys are set once.
    if (record.values.size() != 7) {
        record.values.resize(7);
        for (int i = 0; i < 7; ++i) {
            record.values[i].key = memberKeys[i];
        }
    }
    if (value.type == RapidType::wobjdata) {
        setComposedMembers(value, record);
    } else {
        setReadMembers(value.frame, textOffset, record);
        record.status = quatPoseOf(value.frame).unitLength ? PoseStatus::ok : PoseStatus::notUnit;
    }

    switch (value.type) {
    case RapidType::robtarget:
        record.extra.resize(2);
        setNumbers(extraItem(record, 0, "robconf"), value.robconf, 4);
        setNumbers(extraItem(record, 1, "extax"), value.extax, 6);
        break;
    case RapidType::tooldata: {
        record.extra.resize(2);
        setExtraTruth(extraItem(record, 0, "robhold"), value.robhold);
        // [mass, [cog], [aom], ix, iy, iz], as tooldata's tload holds them.
        std::vector<ExtraValue>& load = setExtraList(extraItem(record, 1, "tload"), 6);
        setExtraNumber(load[0], value.mass.value);
        setNumbers(load[1], value.cog, 3);
        setNumbers(load[2], value.aom, 4);
        for (std::size_t k = 0; k < 3; ++k) {
            setExtraNumber(load[3 + k], value.inertia[k].value);
        }
        break;
    }
    case RapidType::wobjdata:
        record.extra.resize(5);
        setExtraTruth(extraItem(record, 0, "robhold"), value.robhold);
        setExtraTruth(extraItem(record, 1, "ufprog"), value.ufprog);
        setExtraText(extraItem(record, 2, "ufmec"),
                     ufmecText(text.substr(value.ufmecAt, value.ufmecLength)));
        setFrame(extraItem(record, 3, "uframe"), value.frame);
        setFrame(extraItem(record, 4, "oframe"), value.objectFrame);
        break;
    case RapidType::pose:
    case RapidType::jointtarget:
        record.extra.clear();
        break;
    }
}
