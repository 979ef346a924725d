#include "translation/names.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t krlLimit = 24;
constexpr std::size_t rapidLimit = 32;
constexpr std::size_t fanucProgramLimit = 8;
constexpr std::size_t fanucCommentLimit = 16;

// Words a name may not be, upper case. Not every keyword of the languages:
// those a program's point or routine could plausibly be called.
constexpr std::array krlReserved = {
    "AND",     "ANIN",     "ANOUT",    "AXIS",     "BOOL",      "BRAKE",     "CASE",     "CHAR",
    "CIRC",    "CIRC_REL", "CONST",    "CONTINUE", "DECL",      "DEF",       "DEFAULT",  "DEFDAT",
    "DEFFCT",  "DELAY",    "DISTANCE", "DO",       "E6AXIS",    "E6POS",     "ELSE",     "END",
    "ENDDAT",  "ENDFCT",   "ENDFOR",   "ENDIF",    "ENDLOOP",   "ENDSWITCH", "ENDWHILE", "ENUM",
    "EXOR",    "EXT",      "EXTFCT",   "FALSE",    "FOR",       "FRAME",     "GLOBAL",   "GOTO",
    "HALT",    "IF",       "IMPORT",   "INT",      "INTERRUPT", "IS",        "LIN",      "LIN_REL",
    "LOOP",    "MAXIMUM",  "MINIMUM",  "NOT",      "OR",        "POS",       "PRIO",     "PTP",
    "PTP_REL", "PUBLIC",   "PULSE",    "REAL",     "REPEAT",    "RESUME",    "RETURN",   "SEC",
    "SIGNAL",  "STRUC",    "SWITCH",   "THEN",     "TO",        "TRIGGER",   "TRUE",     "UNTIL",
    "WAIT",    "WHEN",     "WHILE",
};
constexpr std::array rapidReserved = {
    "ALIAS",     "AND",     "BACKWARD",  "CASE",    "CONNECT",  "CONST",    "DEFAULT",
    "DIV",       "DO",      "ELSE",      "ELSEIF",  "ENDFOR",   "ENDFUNC",  "ENDIF",
    "ENDMODULE", "ENDPROC", "ENDRECORD", "ENDTEST", "ENDTRAP",  "ENDWHILE", "ERROR",
    "EXIT",      "FALSE",   "FOR",       "FROM",    "FUNC",     "GOTO",     "IF",
    "INOUT",     "LOCAL",   "MOD",       "MODULE",  "NOSTEPIN", "NOT",      "NOVIEW",
    "OR",        "PERS",    "PROC",      "RAISE",   "READONLY", "RECORD",   "RETRY",
    "RETURN",    "STEP",    "SYSMODULE", "TEST",    "THEN",     "TO",       "TRAP",
    "TRUE",      "TRYNEXT", "UNDO",      "VAR",     "VIEWONLY", "WHILE",    "WITH",
    "XOR",
};

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameByte(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

std::string folded(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

bool isFanucComment(Vendor target, NameKind kind) {
    return target == Vendor::fanuc && kind == NameKind::point;
}

int space(Vendor target, NameKind kind) {
    return isFanucComment(target, kind) ? 1 : 0;
}

bool reserved(Vendor target, std::string_view foldedName) {
    if (target == Vendor::kuka) {
        return std::find(krlReserved.begin(), krlReserved.end(), foldedName) != krlReserved.end();
    }
    if (target == Vendor::abb) {
        return std::find(rapidReserved.begin(), rapidReserved.end(), foldedName) !=
               rapidReserved.end();
    }
    return false;
}

std::string tableKey(NameKind kind, std::string_view key) {
    std::string out(1, static_cast<char>('0' + static_cast<int>(kind)));
    out += key;
    return out;
}

bool available(const NameTable& table, NameKind kind, const std::string& name) {
    const std::string f = folded(name);
    return !table.taken[space(table.target, kind)].contains(f) &&
           !(space(table.target, kind) == 0 && reserved(table.target, f));
}

} // namespace

std::size_t nameLimit(Vendor target, NameKind kind) {
    switch (target) {
    case Vendor::kuka:
        return krlLimit;
    case Vendor::abb:
        return rapidLimit;
    case Vendor::fanuc:
        return kind == NameKind::point ? fanucCommentLimit : fanucProgramLimit;
    }
    return krlLimit;
}

std::string adaptName(Vendor target, NameKind kind, std::string_view source) {
    std::string name;
    for (char c : source) {
        name += isNameByte(c) ? c : '_';
    }
    if (!isFanucComment(target, kind) && (name.empty() || !isLetter(name[0]))) {
        name.insert(name.begin(), 'N');
    }
    if (target == Vendor::fanuc && kind != NameKind::point) {
        name = folded(name);
    }
    name.resize(std::min(name.size(), nameLimit(target, kind)));
    return name;
}

NameTable startNames(Vendor target) {
    NameTable table;
    table.target = target;
    return table;
}

void reserveName(NameTable& table, NameKind kind, std::string_view targetName) {
    table.taken[space(table.target, kind)].insert(folded(targetName));
}

const std::string& assignName(NameTable& table, NameKind kind, std::string_view key,
                              std::string_view source, bool& renamedNow) {
    renamedNow = false;
    const std::string k = tableKey(kind, key);
    if (const auto found = table.assigned.find(k); found != table.assigned.end()) {
        return found->second;
    }
    const std::string base = adaptName(table.target, kind, source);
    std::string name = base;
    const std::size_t limit = nameLimit(table.target, kind);
    for (int n = 2; !available(table, kind, name); ++n) {
        std::string suffix(1, '_');
        suffix += std::to_string(n);
        name = base.substr(0, std::min(base.size(), limit - suffix.size())) + suffix;
    }
    reserveName(table, kind, name);
    renamedNow = name != source;
    return table.assigned.emplace(k, name).first->second;
}

void bindName(NameTable& table, NameKind kind, std::string_view key, std::string_view targetName) {
    reserveName(table, kind, targetName);
    table.assigned.insert_or_assign(tableKey(kind, key), std::string(targetName));
}

bool forceName(NameTable& table, NameKind kind, std::string_view key, std::string_view targetName) {
    const std::string k = tableKey(kind, key);
    if (const auto found = table.assigned.find(k); found != table.assigned.end()) {
        return found->second == targetName;
    }
    const std::string name(targetName);
    if (!available(table, kind, name)) {
        return false;
    }
    reserveName(table, kind, name);
    table.assigned.emplace(k, name);
    return true;
}
