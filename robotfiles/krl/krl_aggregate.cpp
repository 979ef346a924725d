#include "robotfiles/krl/krl_aggregate.h"

#include "robotfiles/scan_text.h"

#include <cstdint>
#include <cstring>

namespace {

// The members read by name: the six of a pose first, then the extra data,
// then the six axes of joint values (E6AXIS, AXIS).
enum : int { mX, mY, mZ, mA, mB, mC, mS, mT, mE1, mA1 = mE1 + 6, memberCount = mA1 + 6 };
constexpr int poseMemberCount = 6;

// Keys and names as views, so that filling a record measures no strings.
constexpr std::string_view memberKeys[memberCount] = {"x",  "y",  "z",  "a",  "b",  "c",  "s",
                                                      "t",  "e1", "e2", "e3", "e4", "e5", "e6",
                                                      "a1", "a2", "a3", "a4", "a5", "a6"};
const char* const memberNames[memberCount] = {"X",  "Y",  "Z",  "A",  "B",  "C",  "S",
                                              "T",  "E1", "E2", "E3", "E4", "E5", "E6",
                                              "A1", "A2", "A3", "A4", "A5", "A6"};

// Deeper nesting than any KRL structure has; the bound keeps the recursion
// small whatever a line holds.
constexpr int maxDepth = 16;

int memberIndex(std::string_view name) {
    if (name.size() == 1) {
        switch (lowerByte(name[0])) {
        case 'x':
            return mX;
        case 'y':
            return mY;
        case 'z':
            return mZ;
        case 'a':
            return mA;
        case 'b':
            return mB;
        case 'c':
            return mC;
        case 's':
            return mS;
        case 't':
            return mT;
        default:
            return -1;
        }
    }
    if (name.size() == 2 && lowerByte(name[0]) == 'e' && name[1] >= '1' && name[1] <= '6') {
        return mE1 + (name[1] - '1');
    }
    if (name.size() == 2 && lowerByte(name[0]) == 'a' && name[1] >= '1' && name[1] <= '6') {
        return mA1 + (name[1] - '1');
    }
    return -1;
}

const char* poseTypeName(std::string_view type) {
    for (const char* known : {"E6POS", "POS", "FRAME", "E6AXIS", "AXIS"}) {
        if (equalsNoCase(type, known)) {
            return known;
        }
    }
    return nullptr;
}

// The members one aggregate has read.
struct Members {
    bool read[memberCount] = {};
    bool binary[memberCount] = {}; // S or T written as 'B...'
    float value[memberCount] = {};
    std::uint32_t bits[memberCount] = {};
    std::size_t pos[memberCount] = {};
    std::size_t length[memberCount] = {};
};

struct Parser {
    std::string_view text;
    const KrlContext& context;
    const SourceLine& line;
    KrlFinds& finds;
    std::string_view path[maxDepth]; // member names leading to the current aggregate

    bool fail(KrlTrouble trouble, std::size_t pos, int member = -1) {
        finds.trouble = trouble;
        finds.troublePos = pos;
        finds.troubleMember = member >= 0 ? memberNames[member] : nullptr;
        if (member >= 0 && (member < poseMemberCount || member >= mA1)) {
            finds.poseLike = true;
        }
        return false;
    }

    bool endsStatement(std::size_t pos) const { return pos >= text.size() || text[pos] == ';'; }

    // KRL writes status and turn also as binary literals: 'B010' is 2.
    bool readBinary(std::size_t& pos, std::uint32_t& bits) const {
        std::size_t p = pos + 1;
        if (p >= text.size() || (text[p] != 'B' && text[p] != 'b')) {
            return false;
        }
        ++p;
        int digits = 0;
        bits = 0;
        while (p < text.size() && (text[p] == '0' || text[p] == '1')) {
            if (++digits > 31) {
                return false;
            }
            bits = bits * 2 + static_cast<std::uint32_t>(text[p] - '0');
            ++p;
        }
        if (digits == 0 || p >= text.size() || text[p] != '\'') {
            return false;
        }
        pos = p + 1;
        return true;
    }

    bool readMember(int m, std::size_t nameAt, std::size_t& pos, Members& members) {
        if (members.read[m]) {
            return fail(KrlTrouble::twice, nameAt, m);
        }
        if ((m == mS || m == mT) && pos < text.size() && text[pos] == '\'') {
            if (!readBinary(pos, members.bits[m])) {
                return fail(KrlTrouble::number, pos, m);
            }
            members.binary[m] = true;
        } else {
            std::size_t length = 0;
            if (!readNumberAt(text, pos, members.value[m], length)) {
                return fail(KrlTrouble::number, pos, m);
            }
            // "1.2.3" or "12abc" is no number, though it starts as one.
            const std::size_t after = pos + length;
            if (after < text.size() && !isBlankByte(text[after]) && text[after] != ',' &&
                text[after] != '}' && text[after] != ';') {
                return fail(KrlTrouble::number, pos, m);
            }
            members.pos[m] = pos;
            members.length[m] = length;
            pos = after;
        }
        members.read[m] = true;
        if (m < poseMemberCount || m >= mA1) {
            finds.poseLike = true;
        }
        return true;
    }

    // Passes over the value of a member that is not ours; aggregates in it
    // are still searched for poses.
    bool skipValue(std::size_t open, std::size_t& pos, int depth) {
        while (pos < text.size()) {
            const char c = text[pos];
            if (c == ',' || c == '}') {
                return true;
            }
            if (c == ';') {
                break;
            }
            if (c == '"') {
                const void* close = std::memchr(text.data() + pos + 1, '"', text.size() - pos - 1);
                if (close == nullptr) {
                    break;
                }
                pos = static_cast<std::size_t>(static_cast<const char*>(close) - text.data()) + 1;
            } else if (c == '{') {
                if (!aggregate(pos, depth + 1, pos)) {
                    return false;
                }
            } else {
                ++pos;
            }
        }
        return fail(KrlTrouble::notClosed, open);
    }

    bool aggregate(std::size_t open, int depth, std::size_t& end);
    void list(std::size_t slot, std::size_t open, int depth, const char* prefixType,
              const Members& members);
    void listJoint(std::size_t slot, std::size_t open, const char* prefixType,
                   const Members& members);

    // Where a reused record stands, with what an earlier pose left emptied.
    void place(PoseRecord& r, std::size_t open, bool nested) const {
        r.comment.clear();
        r.program.clear();
        r.group = 0;
        r.nested = nested;
        r.remoteTcp = false;
        r.line = line.number;
        r.column = open + 1;
        r.offset = line.offset + open;
        r.values.clear();
        r.extra.clear();
        r.axes.clear();
    }
};

bool Parser::aggregate(std::size_t open, int depth, std::size_t& end) {
    if (depth >= maxDepth) {
        return fail(KrlTrouble::tooDeep, open);
    }
    // The record is placed now, before those nested in it, to keep file order.
    const std::size_t slot = finds.count++;
    if (finds.records.size() < finds.count) {
        finds.records.resize(finds.count);
        finds.listed.resize(finds.count);
    }
    finds.listed[slot] = 0;

    std::size_t pos = skipBlanks(text, open + 1);
    // An optional type first: {E6POS: X 1, ...}.
    const char* prefixType = nullptr;
    std::size_t nameEnd = pos;
    while (nameEnd < text.size() && isKrlNameByte(text[nameEnd])) {
        ++nameEnd;
    }
    if (const std::size_t colon = skipBlanks(text, nameEnd);
        nameEnd > pos && colon < text.size() && text[colon] == ':') {
        prefixType = poseTypeName(text.substr(pos, nameEnd - pos));
        if (prefixType != nullptr) {
            finds.poseLike = true;
        }
        pos = colon + 1;
    }
    if (depth == 0 && context.declaredType != nullptr) {
        finds.poseLike = true;
    }

    Members members;
    for (bool first = true;; first = false) {
        pos = skipBlanks(text, pos);
        if (endsStatement(pos)) {
            return fail(KrlTrouble::notClosed, open);
        }
        if (first && text[pos] == '}') {
            break;
        }
        const std::size_t nameAt = pos;
        while (pos < text.size() && isKrlNameByte(text[pos])) {
            ++pos;
        }
        if (pos == nameAt) {
            return fail(KrlTrouble::memberName, pos);
        }
        const std::string_view name = text.substr(nameAt, pos - nameAt);
        pos = skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == '{') {
            path[depth] = name;
            if (!aggregate(pos, depth + 1, pos)) {
                return false;
            }
        } else if (const int m = memberIndex(name); m >= 0) {
            if (!readMember(m, nameAt, pos, members)) {
                return false;
            }
        } else {
            path[depth] = name;
            if (!skipValue(open, pos, depth)) {
                return false;
            }
        }
        pos = skipBlanks(text, pos);
        if (endsStatement(pos)) {
            return fail(KrlTrouble::notClosed, open);
        }
        if (text[pos] == '}') {
            break;
        }
        if (text[pos] != ',') {
            return fail(KrlTrouble::separator, pos);
        }
        ++pos;
    }
    end = pos + 1;

    int poseMembers = 0;
    int axes = 0;
    for (int m = 0; m < poseMemberCount; ++m) {
        poseMembers += members.read[m] ? 1 : 0;
        axes += members.read[mA1 + m] ? 1 : 0;
    }
    // A nested aggregate counts only as a full pose (not the J of a LOAD_DATA).
    const bool listed =
        depth == 0 ? poseMembers > 0 && !context.otherDeclaration : poseMembers == poseMemberCount;
    if (listed) {
        finds.listed[slot] = 1;
        list(slot, open, depth, prefixType, members);
    } else if (depth == 0 && poseMembers == 0 && axes > 0 && !context.otherDeclaration) {
        finds.listed[slot] = 1;
        listJoint(slot, open, prefixType, members);
    }
    return true;
}

void Parser::list(std::size_t slot, std::size_t open, int depth, const char* prefixType,
                  const Members& members) {
    PoseRecord& r = finds.records[slot];
    r.vendor = Vendor::kuka;
    if (depth == 0 && context.declaredType != nullptr) {
        r.type = context.declaredType;
    } else {
        r.type.assign(prefixType != nullptr ? std::string_view(prefixType) : "aggregate");
    }
    // A nested pose is named by the path to it: LOAD_DATA[1].CM.
    r.name.assign(context.name);
    if (!context.name.empty()) {
        for (int d = 0; d < depth; ++d) {
            r.name += '.';
            r.name.append(path[d]);
        }
    }
    place(r, open, depth > 0);
    r.role = PoseRole::position;
    int poseMembers = 0;
    for (int m = 0; m < poseMemberCount; ++m) {
        if (members.read[m]) {
            ++poseMembers;
            PoseMember& member = r.values.emplace_back();
            member.key.assign(memberKeys[m]);
            member.value = members.value[m];
            member.text.offset = line.offset + members.pos[m];
            member.text.length = static_cast<std::uint32_t>(members.length[m]);
        }
    }
    r.status = poseMembers == poseMemberCount ? PoseStatus::ok : PoseStatus::partial;
    for (int m = poseMemberCount; m < mA1; ++m) {
        if (members.read[m]) {
            ExtraItem& item = r.extra.emplace_back();
            item.key.assign(memberKeys[m]);
            if (members.binary[m]) {
                setExtraInteger(item.value, std::to_string(members.bits[m]));
            } else {
                setExtraNumber(item.value, members.value[m]);
            }
        }
    }
}

// Axis values: A1 ... A6 and E1 ... E6, each as read.
void Parser::listJoint(std::size_t slot, std::size_t open, const char* prefixType,
                       const Members& members) {
    PoseRecord& r = finds.records[slot];
    r.vendor = Vendor::kuka;
    bool external = false;
    for (int m = mE1; m < mE1 + 6; ++m) {
        external = external || members.read[m];
    }
    const char* type = context.declaredType != nullptr ? context.declaredType
                       : prefixType != nullptr         ? prefixType
                       : external                      ? "E6AXIS"
                                                       : "AXIS";
    r.type.assign(type);
    r.name.assign(context.name);
    place(r, open, false);
    int present = 0;
    for (const int first : {mA1, mE1}) {
        for (int m = first; m < first + 6; ++m) {
            if (members.read[m] && !members.binary[m]) {
                present += m >= mA1 ? 1 : 0;
                PoseMember& axis = r.axes.emplace_back();
                axis.key.assign(memberKeys[m]);
                axis.value = members.value[m];
                axis.text.offset = line.offset + members.pos[m];
                axis.text.length = static_cast<std::uint32_t>(members.length[m]);
            }
        }
    }
    r.status = present == 6 ? PoseStatus::ok : PoseStatus::partial;
    r.role = PoseRole::joint;
}

} // namespace

bool readKrlAggregate(std::string_view text, std::size_t open, const KrlContext& context,
                      const SourceLine& line, KrlFinds& finds, std::size_t& end) {
    finds.count = 0;
    finds.poseLike = false;
    finds.trouble = KrlTrouble::none;
    Parser parser{text, context, line, finds, {}};
    return parser.aggregate(open, 0, end);
}

std::string krlTroubleMessage(const KrlFinds& finds) {
    const std::string member = finds.troubleMember != nullptr ? finds.troubleMember : "?";
    switch (finds.trouble) {
    case KrlTrouble::number:
        return "expected a number after " + member;
    case KrlTrouble::twice:
        return "expected " + member + " only once";
    case KrlTrouble::memberName:
        return "expected a member name";
    case KrlTrouble::separator:
        return "expected ',' or '}'";
    case KrlTrouble::notClosed:
        return "aggregate not closed on its line";
    case KrlTrouble::tooDeep:
        return "aggregate nested too deeply";
    case KrlTrouble::none:
        break;
    }
    return "unreadable aggregate";
}
