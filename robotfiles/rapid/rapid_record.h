#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/rapid/rapid_values.h"

#include <cstdint>
#include <string_view>

// Turns a RAPID value read from a statement's text into the record listed:
// its type, members, status and extra data. The caller sets the name and,
// before filling, the place: a wobjdata's members are computed, and stand at
// the record's offset with no bytes of their own.
// The record's strings and vectors are reused, so that filling allocates
// nothing once they have grown.
void fillRapidRecord(const RapidValue& value, std::string_view text, std::uint64_t textOffset,
                     PoseRecord& record);
