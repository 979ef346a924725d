#include "robotfiles/fanuc/fanuc_record.h"

#include "robotfiles/scan_text.h"

#include <charconv>

namespace {

const char* const memberKeys[fanucMemberCount] = {"x", "y", "z", "w", "p", "r"};

// The next extra item of the record, reusing the one already in its place.
ExtraItem& nextExtra(PoseRecord& record, std::size_t& count) {
    if (count == record.extra.size()) {
        record.extra.emplace_back();
    }
    return record.extra[count++];
}

// A frame number as a whole number; "F" and other words as a word.
void setFrame(PoseRecord& record, std::size_t& count, std::string_view key,
              std::string_view value) {
    ExtraItem& item = nextExtra(record, count);
    item.key.assign(key);
    bool digits = !value.empty();
    for (const char c : value) {
        digits = digits && isDigitByte(c);
    }
    if (digits) {
        setExtraInteger(item.value, value);
    } else {
        setExtraText(item.value, value);
    }
}

void setAxis(PoseRecord& record, std::size_t& count, const FanucAxis& axis) {
    char key[16] = {'e'};
    const auto keyEnd = std::to_chars(key + 1, key + sizeof key, axis.number).ptr;
    ExtraItem& item = nextExtra(record, count);
    item.key.assign(key, keyEnd);
    if (axis.value.stars) {
        setExtraNone(item.value); // never taught
    } else {
        setExtraNumber(item.value, axis.value.value);
    }
}

} // namespace

void startFanucRecord(PoseRecord& record, const FanucPosition& position, const FanucBlock& block,
                      std::string_view program) {
    record.vendor = Vendor::fanuc;
    // Assigned by characters: GCC 12 warns falsely of overlap for short literals.
    record.type.assign(1, 'P');
    record.name.assign(1, 'P');
    record.name += '[';
    record.name.append(position.number);
    record.name.push_back(']');
    record.comment.assign(position.comment);
    record.program.assign(program);
    record.nested = false;
    const FanucPlace place = fanucPlace(block, block.start);
    record.line = place.line;
    record.column = place.column;
    record.offset = place.offset;
}

namespace {

// Joint values: J1 ... as a1 ..., E1 ... as e1 ..., each as read; a value of
// stars was never taught.
bool fillJointGroup(PoseRecord& record, const FanucPosition& position, const FanucGroup& group,
                    const FanucBlock& block) {
    record.values.clear();
    record.extra.clear();
    record.axes.clear();
    bool stars = false;
    const auto add = [&](const FanucAxis& axis, char letter) {
        if (axis.value.stars) {
            stars = true;
            return;
        }
        PoseMember& member = record.axes.emplace_back();
        char key[16] = {letter};
        const auto keyEnd = std::to_chars(key + 1, key + sizeof key, axis.number).ptr;
        member.key.assign(key, keyEnd);
        member.value = static_cast<double>(axis.value.value);
        member.text.offset = fanucOffset(block, axis.value.at);
        member.text.length = static_cast<std::uint32_t>(axis.value.length);
    };
    for (std::size_t i = 0; i < group.jointCount; ++i) {
        add(position.joints[group.firstJoint + i], 'a');
    }
    for (std::size_t i = 0; i < group.axisCount; ++i) {
        add(position.axes[group.firstAxis + i], 'e');
    }
    record.group = group.number;
    record.remoteTcp = false;
    record.status = stars ? PoseStatus::uninitialised : PoseStatus::ok;
    record.role = PoseRole::joint;
    std::size_t count = 0;
    if (group.hasUf) {
        setFrame(record, count, "uf", group.uf);
    }
    if (group.hasUt) {
        setFrame(record, count, "ut", group.ut);
    }
    record.extra.resize(count);
    return true;
}

} // namespace

bool fillFanucGroup(PoseRecord& record, const FanucPosition& position, const FanucGroup& group,
                    const FanucBlock& block) {
    if (group.joint) {
        return fillJointGroup(record, position, group, block);
    }
    record.axes.clear();
    record.role = PoseRole::position;
    record.values.clear();
    bool stars = false;
    int present = 0;
    for (int i = 0; i < fanucMemberCount; ++i) {
        const FanucValue& value = group.members[i];
        if (!value.present) {
            continue;
        }
        ++present;
        if (value.stars) {
            stars = true;
            continue;
        }
        PoseMember& member = record.values.emplace_back();
        member.key.assign(memberKeys[i]);
        member.value = static_cast<double>(value.value);
        member.text.offset = fanucOffset(block, value.at);
        member.text.length = static_cast<std::uint32_t>(value.length);
    }
    if (present == 0) {
        return false;
    }
    record.group = group.number;
    record.remoteTcp = group.remoteTcp;
    record.status = stars                        ? PoseStatus::uninitialised
                    : present < fanucMemberCount ? PoseStatus::partial
                                                 : PoseStatus::ok;
    std::size_t count = 0;
    if (group.hasUf) {
        setFrame(record, count, "uf", group.uf);
    }
    if (group.hasUt) {
        setFrame(record, count, "ut", group.ut);
    }
    if (group.hasConfig) {
        ExtraItem& item = nextExtra(record, count);
        item.key.assign("config");
        setExtraText(item.value, group.config);
    }
    if (group.remoteTcp) {
        ExtraItem& item = nextExtra(record, count);
        item.key.assign("remote_tcp");
        setExtraTruth(item.value, true);
    }
    for (std::size_t i = 0; i < group.axisCount; ++i) {
        setAxis(record, count, position.axes[group.firstAxis + i]);
    }
    record.extra.resize(count);
    return true;
}
