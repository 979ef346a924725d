#pragma once

#include "robotfiles/notations/notation_codec.h"

// Universal Robots' rotation vector and ROS's quaternion, both in metres.

extern const NotationCodec urCodec;
extern const NotationCodec rosCodec;
