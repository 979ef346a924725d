#pragma once

// The one line format in which every benchmark program reports its figures,
// so that scripts/bench can gather them into one table:
//   row <TAB> figure <TAB> measured <TAB> reference <TAB> ratio <TAB> goal <TAB> verdict

#include <cstdio>
#include <string>

// "12.3 ns", "45.6 us", "7.89 ms" or "1.23 s".
inline std::string formatDuration(double seconds) {
    char text[32];
    if (seconds < 1e-6) {
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    } else if (seconds < 1e-3) {
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    } else if (seconds < 1.0) {
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    }
    return text;
}

inline std::string formatRatio(double ratio) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", ratio);
    return text;
}

inline void printFigureRow(const std::string& figure, const std::string& measured,
                           const std::string& reference, const std::string& ratio,
                           const std::string& goal, bool met) {
    std::printf("row\t%s\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), measured.c_str(),
                reference.empty() ? "-" : reference.c_str(), ratio.empty() ? "-" : ratio.c_str(),
                goal.empty() ? "-" : goal.c_str(),
                goal.empty() ? "-"
                : met        ? "met"
                             : "MISSED");
    std::fflush(stdout);
}
