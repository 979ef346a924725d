#pragma once

#include "robotfiles/pose_record.h"

#include <string_view>

// Frames rather than positions: what $config.dat and system variables hold,
// aggregates nested in others, and RAPID's tools, work objects and poses.
// rebase leaves them alone unless asked; plot draws them larger, labelled.
// fileName is the name of the file the pose was read from, without folders.
bool isFramePose(std::string_view fileName, const PoseRecord& pose);
