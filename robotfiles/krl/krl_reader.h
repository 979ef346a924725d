#pragma once

#include "robotfiles/krl/krl_aggregate.h"
#include "robotfiles/pose_record.h"

#include <cstdint>

// Finds every pose of a KUKA KRL file, fed one line at a time from the first line
// to the last.
struct KrlReader {
    // KRL statements end with their line, so nothing is open between lines:
    // the only state is where the last line ended and the records reused.
    std::uint64_t lineEnd = 0;
    KrlFinds finds;
};

void readKrlLine(KrlReader& reader, const SourceLine& line, const ScanCallbacks& out);
// Called once after the last line: reports what is still open (an unfinished
// declaration) as a warning.
void finishKrl(KrlReader& reader, const ScanCallbacks& out);
// The first byte offset that a pose still to be reported may start at or
// touch: every byte before it is done with, so a rewriter may pass it on.
std::uint64_t krlPendingOffset(const KrlReader& reader);
