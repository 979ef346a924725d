#pragma once

#include "robotfiles/notations/notations.h"

// The window's three notations and the matrix, as the command line reads
// them (strictly: every member present) and writes them (the window's copy
// formats; the matrix as four rows).

bool recognizesKuka(std::string_view text);
bool readKuka(std::string_view text, Transform& pose, NotationText& carried, std::string& message);
std::string writeKuka(const Transform& pose, const NotationText& carried);
void kukaValues(const Transform& pose, double* out);

bool recognizesAbb(std::string_view text);
bool readAbb(std::string_view text, Transform& pose, NotationText& carried, std::string& message);
std::string writeAbb(const Transform& pose, const NotationText& carried);
void abbValues(const Transform& pose, double* out);

bool recognizesFanuc(std::string_view text);
bool readFanuc(std::string_view text, Transform& pose, NotationText& carried, std::string& message);
std::string writeFanuc(const Transform& pose, const NotationText& carried);
void fanucValues(const Transform& pose, double* out);

bool recognizesMatrix(std::string_view text);
bool readMatrix(std::string_view text, Transform& pose, NotationText& carried,
                std::string& message);
std::string writeMatrix(const Transform& pose, const NotationText& carried);
void matrixValues(const Transform& pose, double* out);
