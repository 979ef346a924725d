#pragma once

#include "robotfiles/program_model.h"
#include "translation/rules.h"

#include <string>
#include <vector>

// What the rules applied to one statement decided together: the strongest
// outcome (kept above refused above approximated above exact), the rule that
// gave it first, and the notes of every rule applied.
struct Verdict {
    RuleId decided = RuleId::structure;
    int strength = -1;
    std::vector<Note> notes;
    std::string refusal; // of the first refusing rule
    WarningCode keptCode = WarningCode::none;
};

void startVerdict(Verdict& verdict);
// Applies a rule: its note (with the source value it replaces) and its outcome.
void apply(Verdict& verdict, RuleId id, std::string was = {});
// A kept statement whose reason a reader gave.
void applyKept(Verdict& verdict, RuleId id, WarningCode code);
void refuse(Verdict& verdict, RuleId id, std::string message);

bool isKept(const Verdict& verdict);
bool isRefused(const Verdict& verdict);
// translated or approximated, for a verdict neither kept nor refused.
Disposition dispositionOf(const Verdict& verdict);
