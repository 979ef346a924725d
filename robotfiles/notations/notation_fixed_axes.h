#pragma once

#include "robotfiles/notations/notation_codec.h"

// Notations that turn about fixed axes as FANUC does, Rz * Ry * Rx, with
// FANUC's ranges and singular rule: Yaskawa, Mitsubishi, Techman and URDF.

extern const NotationCodec yaskawaCodec;
extern const NotationCodec mitsubishiCodec;
extern const NotationCodec techmanCodec;
extern const NotationCodec urdfCodec;
