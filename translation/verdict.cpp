#include "translation/verdict.h"

namespace {

int strengthOf(RuleOutcome outcome) {
    switch (outcome) {
    case RuleOutcome::exact:
        return 0;
    case RuleOutcome::approximated:
        return 1;
    case RuleOutcome::refused:
        return 2;
    case RuleOutcome::kept:
        return 3;
    case RuleOutcome::structural:
    case RuleOutcome::blank:
        return 0;
    }
    return 0;
}

void decide(Verdict& verdict, RuleId id) {
    const int strength = strengthOf(rule(id).outcome);
    if (strength > verdict.strength) {
        verdict.strength = strength;
        verdict.decided = id;
    }
}

} // namespace

void startVerdict(Verdict& verdict) {
    verdict.decided = RuleId::structure;
    verdict.strength = -1;
    verdict.notes.clear();
    verdict.refusal.clear();
    verdict.keptCode = WarningCode::none;
}

void apply(Verdict& verdict, RuleId id, std::string was) {
    const Rule& r = rule(id);
    if (r.outcome == RuleOutcome::kept && verdict.keptCode == WarningCode::none) {
        verdict.keptCode = r.warning;
    }
    if (r.warning != WarningCode::none && r.outcome != RuleOutcome::kept) {
        verdict.notes.push_back(Note{r.warning, std::move(was)});
    }
    decide(verdict, id);
}

void applyKept(Verdict& verdict, RuleId id, WarningCode code) {
    if (verdict.keptCode == WarningCode::none) {
        verdict.keptCode = code;
    }
    decide(verdict, id);
}

void refuse(Verdict& verdict, RuleId id, std::string message) {
    if (verdict.refusal.empty()) {
        verdict.refusal = std::move(message);
    }
    decide(verdict, id);
}

bool isKept(const Verdict& verdict) {
    return verdict.strength == 3;
}

bool isRefused(const Verdict& verdict) {
    return verdict.strength == 2;
}

Disposition dispositionOf(const Verdict& verdict) {
    return verdict.strength == 1 ? Disposition::approximated : Disposition::translated;
}
