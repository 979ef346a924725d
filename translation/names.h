#pragma once

#include "robotfiles/program_model.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// Names adapted to the target's rules, and the table that keeps them
// consistent: the same source thing always gets the same target name,
// different things never share one, and the first thing met keeps its name
// when two would collide, so the result depends only on the order of the
// program.
//
// The rules (letters, digits and '_', a letter first, case-insensitive
// uniqueness, reserved words avoided):
//   KRL   every name up to 24 characters, case kept;
//   RAPID every name up to 32 characters, case kept;
//   FANUC program names up to 8 characters, upper case (the limit of the
//         oldest controllers still in use, so the program loads anywhere);
//         position comments up to 16 characters, case kept, no letter rule.
// A name that breaks a rule loses the offending characters to '_', gains
// the prefix "N" when it starts with a digit or '_', is cut to the length,
// and on a collision gets "_2", "_3", ... within the length.

enum class NameKind { program, routine, point, data };

std::size_t nameLimit(Vendor target, NameKind kind);

// The name alone made to fit, collisions not considered.
std::string adaptName(Vendor target, NameKind kind, std::string_view source);

struct NameTable {
    Vendor target = Vendor::kuka;
    // By kind and the source's key: the target name given.
    std::unordered_map<std::string, std::string> assigned;
    // Target names in use, folded to upper case: FANUC positions apart, every
    // other name of a program shares one space (KRL and RAPID look routines,
    // data and modules up in the same scope; FANUC programs are files).
    std::unordered_set<std::string> taken[2];
};

NameTable startNames(Vendor target);

// Makes a name unavailable to anything else (a module's name, RAPID's main).
void reserveName(NameTable& table, NameKind kind, std::string_view targetName);

// The target name of the source thing known by `key` (a point's table key,
// a routine's name), spelled `source`. renamedNow is true only the first
// time, and only when the name differs from the source's spelling.
const std::string& assignName(NameTable& table, NameKind kind, std::string_view key,
                              std::string_view source, bool& renamedNow);

// Binds the source thing to a target name already reserved for it (the
// routine a program starts with, which the program's name stands for).
void bindName(NameTable& table, NameKind kind, std::string_view key, std::string_view targetName);

// Gives the source thing exactly this target name (the routine a program
// starts with becomes the target's entry); false when it is already named
// otherwise or the name is taken by something else.
bool forceName(NameTable& table, NameKind kind, std::string_view key, std::string_view targetName);
