// Reads arbitrary bytes as a table of points (fit's NOMINAL and MEASURED):
// a table it takes holds named, finite points on increasing lines, no name
// twice, and written again as "NAME",x,y,z lines (each number the shortest
// text that reads back to it) it reads back to the very same points; a table
// it refuses gets a message naming the table and a line of it.

#include "cli/inputs/point_table.h"
#include "fuzz/fuzz_input.h"
#include "robotfiles/pose_names.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string shown = "table.csv";

// The line number a refusal names: "table.csv:LINE:COLUMN: ...".
std::uint64_t refusedLine(const std::string& message) {
    if (message.rfind(shown + ":", 0) != 0) {
        return 0;
    }
    const char* begin = message.data() + shown.size() + 1;
    std::uint64_t line = 0;
    const auto result = std::from_chars(begin, message.data() + message.size(), line);
    return result.ec == std::errc() && *result.ptr == ':' ? line : 0;
}

// The points as a table: every name quoted, so that a name the reader took
// from quotes (a blank, a '#' in front) comes back as it was.
std::string tableOf(const std::vector<TablePoint>& points) {
    std::string out;
    for (const TablePoint& point : points) {
        out += '"' + point.name + '"';
        for (const double value : {point.point.x, point.point.y, point.point.z}) {
            char digits[32];
            const auto result = std::to_chars(digits, digits + sizeof digits, value);
            out += ',';
            out.append(digits, result.ptr);
        }
        out += '\n';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::uint64_t lines =
        static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    std::vector<TablePoint> points;
    std::string message;
    if (!readPointTableText(bytes, shown, points, message)) {
        const std::uint64_t line = refusedLine(message);
        FUZZ_CHECK(line >= 1 && line <= lines);
        return 0;
    }
    FUZZ_CHECK(message.empty());
    std::set<std::string> keys;
    std::uint64_t previous = 0;
    for (const TablePoint& point : points) {
        FUZZ_CHECK(!point.name.empty());
        FUZZ_CHECK(point.line > previous && point.line <= lines);
        previous = point.line;
        FUZZ_CHECK(std::isfinite(point.point.x) && std::isfinite(point.point.y) &&
                   std::isfinite(point.point.z));
        FUZZ_CHECK(keys.insert(nameKey(point.name)).second);
        // A name is one field: it holds no separator of the table's.
        FUZZ_CHECK(point.name.find_first_of(",;\n") == std::string::npos);
    }
    std::vector<TablePoint> again;
    FUZZ_CHECK(readPointTableText(tableOf(points), shown, again, message));
    FUZZ_CHECK(again.size() == points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        FUZZ_CHECK(again[k].name == points[k].name && again[k].line == k + 1);
        FUZZ_CHECK(sameBits(again[k].point.x, points[k].point.x) &&
                   sameBits(again[k].point.y, points[k].point.y) &&
                   sameBits(again[k].point.z, points[k].point.z));
    }
    return 0;
}
