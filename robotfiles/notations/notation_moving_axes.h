#pragma once

#include "robotfiles/notations/notation_codec.h"

// Notations that turn about moving axes: Kawasaki's and Doosan's Euler
// Z-Y-Z, Rz * Ry * Rz, and Staubli's X-Y'-Z'', Rx * Ry * Rz.

extern const NotationCodec kawasakiCodec;
extern const NotationCodec doosanCodec;
extern const NotationCodec staubliCodec;
