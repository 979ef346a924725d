#include "cli/output/json_writer.h"

#include "cli/output/escape.h"
#include "robotfiles/scan_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>

std::string decimalText(double value) {
    if (std::fabs(value) <= static_cast<double>(FLT_MAX)) {
        const float single = static_cast<float>(value);
        if (static_cast<double>(single) == value) {
            return shortestFloat(single);
        }
    }
    return shortestDouble(value);
}

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    out += decimalText(value);
}

void appendJsonFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    out += shortestFloat(value);
}

void appendJsonUnsigned(std::string& out, std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendJsonString(std::string& out, std::string_view bytes) {
    out += jsonQuoted(bytes);
}

void appendJsonExtra(std::string& out, const ExtraValue& value) {
    switch (value.kind) {
    case ExtraKind::number:
        appendJsonFloat(out, value.number);
        return;
    case ExtraKind::integer:
        out += value.text.empty() ? std::string_view("null") : std::string_view(value.text);
        return;
    case ExtraKind::text:
        appendJsonString(out, value.text);
        return;
    case ExtraKind::truth:
        out += value.truth ? "true" : "false";
        return;
    case ExtraKind::none:
        out += "null";
        return;
    case ExtraKind::list:
        out += '[';
        for (std::size_t k = 0; k < value.items.size(); ++k) {
            if (k > 0) {
                out += ',';
            }
            appendJsonExtra(out, value.items[k]);
        }
        out += ']';
        return;
    }
}

namespace {

void appendValue(std::string& out, const nlohmann::ordered_json& value) {
    using Type = nlohmann::ordered_json::value_t;
    switch (value.type()) {
    case Type::object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            out += first ? "" : ",";
            first = false;
            appendJsonString(out, key);
            out += ':';
            appendValue(out, member);
        }
        out += '}';
        return;
    }
    case Type::array: {
        out += '[';
        for (std::size_t k = 0; k < value.size(); ++k) {
            out += k == 0 ? "" : ",";
            appendValue(out, value[k]);
        }
        out += ']';
        return;
    }
    case Type::string:
        appendJsonString(out, value.get_ref<const std::string&>());
        return;
    case Type::boolean:
        out += value.get<bool>() ? "true" : "false";
        return;
    case Type::number_integer: {
        char buffer[24];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value.get<std::int64_t>());
        out.append(buffer, result.ptr);
        return;
    }
    case Type::number_unsigned:
        appendJsonUnsigned(out, value.get<std::uint64_t>());
        return;
    case Type::number_float:
        appendJsonNumber(out, value.get<double>());
        return;
    case Type::null:
    case Type::binary:
    case Type::discarded:
        out += "null";
        return;
    }
}

} // namespace

std::string jsonText(const nlohmann::ordered_json& value) {
    std::string out;
    appendValue(out, value);
    return out;
}
