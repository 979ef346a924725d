#include "robotfiles/pose_names.h"

#include "robotfiles/scan_text.h"

bool matchesPattern(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || lowerByte(pattern[p]) == lowerByte(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool naturalNameLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigitByte(a[i]) && isDigitByte(b[j])) {
            // Leading zeros do not count; then the longer run is the larger number.
            while (i < a.size() && a[i] == '0') {
                ++i;
            }
            while (j < b.size() && b[j] == '0') {
                ++j;
            }
            std::size_t ie = i;
            std::size_t je = j;
            while (ie < a.size() && isDigitByte(a[ie])) {
                ++ie;
            }
            while (je < b.size() && isDigitByte(b[je])) {
                ++je;
            }
            if (ie - i != je - j) {
                return ie - i < je - j;
            }
            const int order = a.substr(i, ie - i).compare(b.substr(j, je - j));
            if (order != 0) {
                return order < 0;
            }
            i = ie;
            j = je;
            continue;
        }
        const char x = lowerByte(a[i]);
        const char y = lowerByte(b[j]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::string shownName(const PoseRecord& pose) {
    return pose.vendor == Vendor::fanuc && pose.group > 1
               ? pose.name + " GP" + std::to_string(pose.group)
               : pose.name;
}

std::string nameKey(const std::string& name) {
    std::string key;
    for (const char c : name) {
        // "P[3]  gp2" and "p[3] GP2" are one name.
        if (!(isBlankByte(c) && (key.empty() || key.back() == ' '))) {
            key += isBlankByte(c) ? ' ' : lowerByte(c);
        }
    }
    while (!key.empty() && key.back() == ' ') {
        key.pop_back();
    }
    return key;
}

std::string poseKey(const PoseRecord& pose) {
    return nameKey(shownName(pose));
}
