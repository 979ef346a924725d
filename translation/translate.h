#pragma once

#include "robotfiles/program_model.h"
#include "translation/maps.h"
#include "translation/names.h"
#include "translation/rules.h"
#include "translation/verdict.h"

#include <string>

// The translation of one program, statement by statement, for a target
// vendor: pure functions of the statement, the program's points, the
// user's maps and what came before in the routine (the names given, whether
// the last motion blended). Nothing is read or written here.

struct TranslationState {
    Vendor source = Vendor::kuka;
    TranslationOptions options;
    NameTable names;
    std::string mainKey;        // the main routine's name, folded
    std::string mainName;       // its target name
    bool blendedBefore = false; // the routine's last motion rounds its corner
    Verdict verdict;            // reused from statement to statement
};

struct StatementOutcome {
    bool refused = false;
    std::string refusal; // what was expected; the caller adds file and line
    RuleId rule = RuleId::structure;
    // The statement in the target's terms (for a kept one: the source's,
    // verbatim) and how to write it.
    Statement target;
    Annotation annotation;
};

// Starts a program: its target name (KRL: at most 24 characters, also the
// main DEF's; RAPID: the module; FANUC: the main program, 8 upper-case
// characters). renamed is true when the name had to change.
void startTranslation(const ProgramInfo& source, const TranslationOptions& options,
                      TranslationState& state, ProgramInfo& target, bool& renamed);

void translateStatement(TranslationState& state, const PointTable& points, const Statement& source,
                        StatementOutcome& out);
