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

void setExtra(PoseRecord& record, std::size_t& count, std::string_view key, std::string_view json) {
    ExtraItem& item = nextExtra(record, count);
    item.key.assign(key);
    item.json.assign(json);
}

// Plain printable ASCII is its own JSON string; anything else goes through
// jsonQuoted. Saves building a string for every configuration.
void setQuoted(std::string& json, std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
            json = jsonQuoted(text);
            return;
        }
    }
    json.assign(1, '"');
    json.append(text);
    json.push_back('"');
}

// A frame number as a JSON number; "F" and other words as a JSON string.
void setFrame(PoseRecord& record, std::size_t& count, std::string_view key,
              std::string_view value) {
    ExtraItem& item = nextExtra(record, count);
    item.key.assign(key);
    bool digits = true;
    for (const char c : value) {
        digits = digits && isDigitByte(c);
    }
    if (!digits) {
        setQuoted(item.json, value);
        return;
    }
    // JSON numbers have no leading zeros.
    while (value.size() > 1 && value.front() == '0') {
        value.remove_prefix(1);
    }
    item.json.assign(value);
}

void setAxis(PoseRecord& record, std::size_t& count, const FanucAxis& axis) {
    char key[16] = {'e'};
    const auto keyEnd = std::to_chars(key + 1, key + sizeof key, axis.number).ptr;
    char json[32];
    std::string_view text = "null"; // never taught
    if (!axis.value.stars) {
        const auto end = std::to_chars(json, json + sizeof json, axis.value.value).ptr;
        text = std::string_view(json, static_cast<std::size_t>(end - json));
    }
    setExtra(record, count, std::string_view(key, static_cast<std::size_t>(keyEnd - key)), text);
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

bool fillFanucGroup(PoseRecord& record, const FanucPosition& position, const FanucGroup& group,
                    const FanucBlock& block) {
    if (group.joint) {
        return false;
    }
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
        setQuoted(item.json, group.config);
    }
    if (group.remoteTcp) {
        setExtra(record, count, "remote_tcp", "true");
    }
    for (std::size_t i = 0; i < group.axisCount; ++i) {
        setAxis(record, count, position.axes[group.firstAxis + i]);
    }
    record.extra.resize(count);
    return true;
}
