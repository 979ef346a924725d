#pragma once

#include "cli/file_list.h"

// Frames rather than positions: what $config.dat and system variables hold,
// aggregates nested in others, and RAPID's tools, work objects and poses.
// rebase leaves them alone unless asked; plot draws them larger, labelled.
bool isFramePose(const InputFile& file, const PoseRecord& pose);
