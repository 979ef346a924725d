#pragma once

#include "robotfiles/program_model.h"

#include <string>
#include <string_view>
#include <vector>

// The user's maps, each entry SOURCE=TARGET with each side in its own
// vendor's words, and the options of a translation. Parsing them is part of
// the rules: what a word means for each vendor, and which words a target
// takes.

enum class ReferenceKind { frame, tool };

struct ReferencePair {
    Reference source;
    Reference target;
};

struct SignalPair {
    std::string source; // normalised: $OUT[3], DO[3], a name as written
    std::string target;
};

// A blending word of any vendor: FINE or fine (a stop), CNTn, C_DISx, C_PTPx,
// C_VELx, C_ORIx, zN (a predefined zone), or a zonedata name. `vendor` is
// the vendor whose word it is; a stop is every vendor's.
struct BlendWord {
    Blend blend;
    bool anyVendor = false;
    Vendor vendor = Vendor::kuka;
};

struct BlendPair {
    BlendWord source;
    BlendWord target;
};

struct TranslationOptions {
    Vendor target = Vendor::kuka;
    std::vector<ReferencePair> frames;
    std::vector<ReferencePair> tools;
    std::vector<SignalPair> signals;
    std::vector<BlendPair> blends;
    double jointSpeed = 0.0; // mm/s that counts as 100 %; 0: not given
    bool configController = false;
};

// A reference word: a number for KUKA and FANUC, a name for ABB. On the
// target side the number must be one the controller has (KUKA base 0..32,
// tool 0..16; FANUC UF 0..9, UT 1..10) and the name one RAPID takes.
bool parseReferenceWord(std::string_view word, Vendor vendor, ReferenceKind kind, bool targetSide,
                        Reference& out, std::string& message);
bool parseReferencePair(std::string_view text, Vendor source, Vendor target, ReferenceKind kind,
                        ReferencePair& out, std::string& message);

// A signal word: KUKA $OUT[n], $IN[n] or a SIGNAL name; ABB a name; FANUC
// DO[n], DI[n], RO[n], RI[n]. Numbers and brackets are normalised
// ($out[ 3] -> $OUT[3]); names keep their spelling.
bool parseSignalWord(std::string_view word, Vendor vendor, std::string& out, std::string& message);
bool parseSignalPair(std::string_view text, Vendor source, Vendor target, SignalPair& out,
                     std::string& message);
// Whether a normalised word can be an output (or, false, an input): a name can be either.
bool signalCanBe(std::string_view word, bool output);
// Names compare without regard to case, as KRL and RAPID do.
bool sameSignal(std::string_view a, std::string_view b);

bool parseBlendWord(std::string_view word, BlendWord& out, std::string& message);
// Both sides must be words (the vendors are checked when an entry is used:
// one --blend table may serve several directions).
bool parseBlendPair(std::string_view text, BlendPair& out, std::string& message);

// The source's words of a speed or a blend, for trailing comments and the
// report: "0.25 m/s", "50 %", "v500", "250mm/sec", "C_DIS 10", "CNT50", "z10".
std::string speedWords(const Speed& speed);
std::string blendWords(const Blend& blend);
