#pragma once

#include "robotfiles/krl/krl_aggregate.h"
#include "robotfiles/krl/krl_usage.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// Finds every pose of a KUKA KRL file, fed one line at a time from the first line
// to the last, and gives each the role the statement around it tells.
struct KrlReader {
    // KRL statements end with their line, so nothing is open between lines:
    // the state is where the last line ended, the records reused, and what
    // the file has said so far.
    std::uint64_t lineEnd = 0;
    KrlFinds finds;
    // $config.dat holds the robot's tools, bases and loads: frames all.
    bool configDat = false;
    // Between DEFDAT and ENDDAT (or a .dat before its DEFDAT): data, where
    // "name = value" initialises rather than assigns.
    bool inData = false;
    // What a .dat or a .src must hold somewhere to be a program at all.
    bool dataFile = false;
    bool codeFile = false;
    bool sawDefdat = false;
    bool sawDef = false;
    // Arrays declared without a value (DECL FRAME gfMeasPoint[7]): the type
    // their elements take when they are given values, by krlNameKey.
    std::unordered_map<std::string, const char*> arrayTypes;
    const KrlUsage* usage = nullptr;
    // For the motions: the base in force ($BASE = ..., BAS(#BASE, n)), and
    // the base an inline form's fold names for the motion inside it.
    std::string base;
    std::string foldBase;
};

// fileName (without folders) tells a .dat, a .src and $config.dat apart;
// usage, when given, how the programs read use the names declared here.
void startKrl(KrlReader& reader, std::string_view fileName, const KrlUsage* usage);
void readKrlLine(KrlReader& reader, const SourceLine& line, const ScanCallbacks& out);
// Called once after the last line: says when the file is no program.
void finishKrl(KrlReader& reader, const ScanCallbacks& out);
// The first byte offset that a pose still to be reported may start at or
// touch: every byte before it is done with, so a rewriter may pass it on.
std::uint64_t krlPendingOffset(const KrlReader& reader);
