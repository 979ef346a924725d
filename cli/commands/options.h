#pragma once

#include "robotfiles/pose_record.h"

#include <optional>
#include <string>
#include <vector>

// The command line as plain records: main.cpp fills them, each command
// works from its own.

enum class OutputFormat { table, json, csv };

struct ListOptions {
    std::vector<std::string> paths; // files, folders, or "-" for standard input
    std::optional<Vendor> vendor;   // for standard input, or to override the extension
    OutputFormat format = OutputFormat::table;
    bool formatGiven = false;
    std::vector<std::string> notations; // --to
    bool strict = false;
    bool summary = false;
    unsigned jobs = 0; // 0: one per core
};

struct ConvertOptions {
    std::string text; // the pose, or "-" for standard input
    std::string from; // a notation's name, or empty to recognise it
    std::vector<std::string> notations;
};

struct DiffOptions {
    std::string oldPath; // a file or a folder
    std::string newPath;
    double toleranceMm = 0.001;
    double toleranceDeg = 0.001;
    OutputFormat format = OutputFormat::table;
};

// One --pre, --pre-inverse, --post or --post-inverse frame, in the order given.
struct RebaseFrame {
    bool post = false;    // applied after the pose (POST) rather than before (PRE)
    bool inverse = false; // its inverse is applied
    std::string text;     // any pose `convert` reads
};

struct RebaseOptions {
    std::vector<std::string> paths;
    std::vector<RebaseFrame> frames;
    std::vector<std::string> select; // name patterns with * and ?
    bool includeFrames = false;
    bool includeRemoteTcp = false;
    std::string outDir; // --out
    bool inPlace = false;
    bool noBackup = false;
};
