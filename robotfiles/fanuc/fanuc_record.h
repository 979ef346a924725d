#pragma once

#include "robotfiles/fanuc/fanuc_block.h"
#include "robotfiles/fanuc/fanuc_position.h"
#include "robotfiles/pose_record.h"

#include <string_view>

// Turns what was read of a FANUC position into the records that listing and
// rebasing share, one a group with a Cartesian pose. The record is reused
// from position to position, so its strings and vectors keep their capacity.

// What every group of the position shares: vendor, type, name, comment,
// program and the place of its "P".
void startFanucRecord(PoseRecord& record, const FanucPosition& position, const FanucBlock& block,
                      std::string_view program);
// The group's members and extra items; false for a group that holds no pose
// (joint values, or none of X ... R).
bool fillFanucGroup(PoseRecord& record, const FanucPosition& position, const FanucGroup& group,
                    const FanucBlock& block);
