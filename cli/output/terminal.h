#pragma once

#include <cstdio>

// Whether the stream is a terminal (a console on Windows) rather than a
// file or a pipe.
bool isTerminal(std::FILE* stream);

// Standard output and input carry bytes as they are on every platform: no
// CR is added or dropped on Windows.
void useBinaryStandardStreams();
