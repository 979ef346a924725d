#include "cli/output/calibration_output.h"

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "robotfiles/decimal_text.h"

#include <fmt/format.h>

#include <cmath>

namespace {

std::string notationText(const Notation& notation, const Transform& frame) {
    return notation.writeFine != nullptr ? notation.writeFine(frame)
                                         : notation.write(frame, NotationText{});
}

} // namespace

std::string mm(double value) {
    return fixedText(value, 3);
}

std::string degrees(double value) {
    return fixedText(value, 4);
}

std::vector<const Notation*> frameNotations(const std::vector<std::string>& names,
                                            std::optional<Vendor> vendor) {
    std::vector<const Notation*> notations;
    if (!names.empty()) {
        for (const std::string& name : names) {
            notations.push_back(findNotation(name));
        }
        return notations;
    }
    if (vendor) {
        notations.push_back(findNotation(vendorName(*vendor)));
        return notations;
    }
    for (const char* name : {"kuka", "abb", "fanuc"}) {
        notations.push_back(findNotation(name));
    }
    return notations;
}

std::string frameText(const std::vector<const Notation*>& notations, const Transform& frame) {
    std::string out;
    for (const Notation* notation : notations) {
        const std::string written = notationText(*notation, frame);
        if (notations.size() == 1) {
            out += written + "\n";
        } else if (written.find('\n') == std::string::npos) {
            out += fmt::format("{}: {}\n", notation->name, written);
        } else {
            out += fmt::format("{}:\n{}\n", notation->name, written);
        }
    }
    return out;
}

nlohmann::ordered_json pointJson(Point3 point) {
    return {{"x", point.x}, {"y", point.y}, {"z", point.z}};
}

void addFrameJson(nlohmann::ordered_json& object, const std::vector<const Notation*>& notations,
                  const Transform& frame) {
    nlohmann::ordered_json& matrix = object["frame"] = nlohmann::ordered_json::array();
    for (int row = 0; row < 4; ++row) {
        matrix.push_back(
            {at(frame, row, 0), at(frame, row, 1), at(frame, row, 2), at(frame, row, 3)});
    }
    nlohmann::ordered_json& texts = object["texts"] = nlohmann::ordered_json::object();
    for (const Notation* notation : notations) {
        texts[notation->name] = notationText(*notation, frame);
    }
    // Each notation's members, as `list --to` gives them.
    for (const Notation* notation : notations) {
        if (notation->memberCount == 16) {
            continue; // the matrix is "frame" already
        }
        double values[16];
        notation->values(frame, values);
        nlohmann::ordered_json& members = object[notation->name] = nlohmann::ordered_json::object();
        std::string_view names = notation->members;
        for (int k = 0; k < notation->memberCount; ++k) {
            const std::size_t start = names.find_first_not_of(' ');
            const std::size_t end = names.find(' ', start);
            members[std::string(names.substr(start, end - start))] = values[k];
            names = end == std::string_view::npos ? std::string_view() : names.substr(end);
        }
    }
}
