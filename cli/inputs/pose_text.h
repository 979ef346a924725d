#pragma once

#include "robotfiles/notations/notations.h"

#include <string>

// Reads one pose given on the command line (a convert text, a rebase frame)
// in the named notation, or in the one its form shows. False with a message
// that says why, naming the notation or the candidates.
bool readPoseText(const std::string& text, const std::string& from, Transform& pose,
                  NotationText& carried, const Notation*& notation, std::string& message);
