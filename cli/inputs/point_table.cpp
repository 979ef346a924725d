#include "cli/inputs/point_table.h"

#include "cli/inputs/file_list.h"
#include "cli/inputs/taught_points.h"
#include "robotfiles/pose_names.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

namespace {

// A table of points is small; a file beyond this is no table.
constexpr std::size_t maxTableBytes = std::size_t{16} << 20;

struct Field {
    std::string_view text;
    std::size_t column = 0; // 1-based
};

// The fields of one line: split at commas or semicolons where it has any,
// otherwise at blanks; each field trimmed, a name's quotes dropped.
std::vector<Field> fieldsOf(std::string_view line) {
    const bool separated = line.find_first_of(",;") != std::string_view::npos;
    std::vector<Field> fields;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        std::size_t end = pos;
        while (end < line.size() &&
               (separated ? line[end] != ',' && line[end] != ';' : !isBlankByte(line[end]))) {
            ++end;
        }
        std::size_t start = pos;
        std::size_t stop = end;
        while (start < stop && isBlankByte(line[start])) {
            ++start;
        }
        while (stop > start && isBlankByte(line[stop - 1])) {
            --stop;
        }
        if (stop - start >= 2 && line[start] == '"' && line[stop - 1] == '"') {
            ++start;
            --stop;
        }
        if (separated || stop > start) {
            fields.push_back(Field{line.substr(start, stop - start), start + 1});
        }
        if (end >= line.size()) {
            break;
        }
        pos = separated ? end + 1 : skipBlanks(line, end);
        if (!separated && pos >= line.size()) {
            break;
        }
    }
    return fields;
}

bool readNumber(std::string_view text, double& value) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end && begin != end;
}

} // namespace

bool readPointTableText(std::string_view bytes, const std::string& shownName,
                        std::vector<TablePoint>& points, std::string& message) {
    std::map<std::string, std::uint64_t> seen;
    bool dataSeen = false;
    std::uint64_t number = 0;
    std::size_t start = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end;
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = end + 1;
        ++number;
        const std::size_t first = skipBlanks(line, 0);
        if (first == line.size() || line[first] == '#') {
            continue;
        }
        const std::vector<Field> fields = fieldsOf(line);
        TablePoint point;
        point.line = number;
        double* values[3] = {&point.point.x, &point.point.y, &point.point.z};
        bool numbers = fields.size() == 4;
        for (std::size_t k = 1; numbers && k < 4; ++k) {
            numbers = readNumber(fields[k].text, *values[k - 1]);
        }
        if (!numbers && !dataSeen) {
            // The first line that is not name,x,y,z is the header.
            dataSeen = true;
            continue;
        }
        dataSeen = true;
        if (fields.size() != 4 || fields[0].text.empty()) {
            message = fmt::format("{}:{}:1: expected name,x,y,z (4 fields), found {} fields",
                                  shownName, number, fields.size());
            return false;
        }
        for (std::size_t k = 1; k < 4; ++k) {
            if (!readNumber(fields[k].text, *values[k - 1]) || !std::isfinite(*values[k - 1])) {
                message = fmt::format("{}:{}:{}: expected a finite number for {}, found \"{}\"",
                                      shownName, number, fields[k].column, "xyz"[k - 1],
                                      fields[k].text.substr(0, 40));
                return false;
            }
        }
        point.name = std::string(fields[0].text);
        const auto [where, added] = seen.emplace(nameKey(point.name), number);
        if (!added) {
            message = fmt::format("{}:{}:1: {} is named twice, first on line {}", shownName, number,
                                  point.name, where->second);
            return false;
        }
        points.push_back(std::move(point));
    }
    return true;
}

bool readPointTable(const std::string& path, std::vector<TablePoint>& points,
                    std::string& message) {
    std::FILE* stream = openForReading(pathFromUtf8(path));
    if (stream == nullptr) {
        message = fmt::format("{}: cannot read: {}", path, std::strerror(errno));
        return false;
    }
    std::string bytes;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0 &&
           bytes.size() <= maxTableBytes) {
        bytes.append(buffer, got);
    }
    std::fclose(stream);
    if (bytes.size() > maxTableBytes) {
        message = fmt::format("{}: more than 16 MiB: not a table of points", path);
        return false;
    }
    return readPointTableText(bytes, path, points, message);
}
