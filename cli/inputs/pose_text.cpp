#include "cli/inputs/pose_text.h"

#include <fmt/format.h>

#include <charconv>
#include <string_view>

namespace {

bool isWindowNotation(const Notation& notation) {
    const std::string_view name(notation.name);
    return name == "kuka" || name == "abb" || name == "fanuc" || name == "matrix";
}

// The first word of the text that starts as a number does but is none (a
// letter O for a zero, "1.2.3"), or empty. Said before anything else: a
// text of numbers that cannot be read is wrong in that number, not in its form.
std::string_view firstNonNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() &&
               std::string_view(" \t\r\n,;()[]{}").find(text[pos]) != std::string_view::npos) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() &&
               std::string_view(" \t\r\n,;()[]{}").find(text[pos]) == std::string_view::npos) {
            ++pos;
        }
        const std::string_view word = text.substr(start, pos - start);
        if (word.empty()) {
            continue;
        }
        const char first = word.front();
        const bool numberLike =
            (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.';
        double value = 0.0;
        const auto result =
            std::from_chars(word.data() + (first == '+' ? 1 : 0), word.data() + word.size(), value);
        if (numberLike && (result.ec != std::errc() || result.ptr != word.data() + word.size())) {
            return word.substr(0, 40);
        }
    }
    return {};
}

// Finds the notation of a text that was not named: a form that cannot be
// mistaken, twelve or sixteen numbers of a matrix, the window's three
// notations in the window's order. A text of an ambiguous form is refused with
// its candidates.
const Notation* recogniseNotation(const std::string& text, std::string& message) {
    // The other vendors' forms start with words no KUKA, ABB or FANUC text
    // starts with (a ROS text's braces would otherwise pass for KUKA's).
    for (const Notation& notation : allNotations()) {
        if (notation.unambiguous && !isWindowNotation(notation) && notation.recognizes(text)) {
            return &notation;
        }
    }
    // Twelve or sixteen numbers and nothing else are no ABB value, even in brackets.
    if (const Notation* matrix = findNotation("matrix"); matrix->recognizes(text)) {
        return matrix;
    }
    for (const char* name : {"abb", "kuka", "fanuc"}) {
        const Notation* notation = findNotation(name);
        if (notation->recognizes(text)) {
            return notation;
        }
    }
    std::string candidates;
    for (const Notation& notation : allNotations()) {
        Transform pose;
        NotationText carried;
        std::string ignored;
        if (!notation.unambiguous && !isWindowNotation(notation) &&
            (notation.recognizes(text) || notation.read(text, pose, carried, ignored))) {
            candidates += candidates.empty() ? "" : ", ";
            candidates += notation.name;
        }
    }
    if (const std::string_view bad = firstNonNumber(text); !bad.empty()) {
        message = fmt::format("{} is not a number", bad);
    } else if (candidates.empty()) {
        message = "not a pose in any notation this program reads (see --help for the list)";
    } else {
        message = fmt::format("this form does not tell its notation (it could be {}): "
                              "name it with --from",
                              candidates);
    }
    return nullptr;
}

} // namespace

bool readPoseText(const std::string& text, const std::string& from, Transform& pose,
                  NotationText& carried, const Notation*& notation, std::string& message) {
    notation = from.empty() ? recogniseNotation(text, message) : findNotation(from);
    if (notation == nullptr) {
        return false;
    }
    if (!notation->read(text, pose, carried, message)) {
        message = fmt::format("cannot read the text as {} ({}): {}", notation->brand,
                              notation->name, message);
        return false;
    }
    return true;
}
