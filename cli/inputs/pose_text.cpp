#include "cli/inputs/pose_text.h"

#include <fmt/format.h>

namespace {

bool isWindowNotation(const Notation& notation) {
    const std::string_view name(notation.name);
    return name == "kuka" || name == "abb" || name == "fanuc" || name == "matrix";
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
    if (candidates.empty()) {
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
