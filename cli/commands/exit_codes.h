#pragma once

// Exit statuses a script can rely on.
constexpr int exitDone = 0;
constexpr int exitDiffers = 1; // diff: something differs beyond the tolerance
constexpr int exitTrouble = 2; // a usage error, a file that cannot be read or written

// translate: a line was approximated or kept as a comment.
constexpr int exitApproximated = 1;

// fit and tool: a residual or pose error above --max-error.
constexpr int exitBoundNotMet = 1;
