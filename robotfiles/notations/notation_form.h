#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// A notation's text as fixed pieces around its numbers, "p[" x ", " y ... "]":
// one description that is both written and read.

// Decimals that give the shortest text reading back to the same double.
constexpr int shortestDecimals = -1;

struct MemberFormat {
    int decimals = 3; // after the period, or shortestDecimals
    // An angle shown in (-halfTurn, halfTurn] (180 or pi); 0 for any other member.
    double halfTurn = 0.0;
};

struct NotationForm {
    // One piece more than members: the text before, between and after them.
    std::span<const char* const> pieces;
    std::span<const MemberFormat> members;
    bool ignoreCase = false; // letters of the pieces in either case (Kawasaki's TRANS)
};

std::string writeForm(const NotationForm& form, const double* values);

// Reads the form at text[pos], blanks allowed before it and between its
// tokens; on success pos is just past it and values holds the members as
// read, each rounded once to float. values must have room for every member.
bool readForm(const NotationForm& form, std::string_view text, std::size_t& pos, double* values);

// Matches one piece at text[pos]. Blanks may stand before every token of the
// piece (a word of letters and digits, or one other character); where the
// piece puts a blank between two words, the text needs one too, and a piece of
// blanks alone (between two numbers) needs at least one. pos moves past the
// piece on success only.
bool matchPiece(std::string_view text, std::size_t& pos, std::string_view piece, bool ignoreCase);

// The number of digits from text[pos] on.
std::size_t digitRunLength(std::string_view text, std::size_t pos);

inline bool isWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
