#pragma once

#include "robotfiles/notations/notation_form.h"
#include "robotfiles/notations/notations.h"

// How one notation turns the pose into its text and back: its text form, its
// members computed from the pose, and the pose built from the members read.
// The table of notations points at the functions below, one instance a codec.

constexpr double millimetresPerMetre = 1000.0;
constexpr double radiansPerDegree = 0.017453292519943295;
constexpr double degreesPerRadian = 57.29577951308232;
constexpr double halfTurnDegrees = 180.0;
constexpr double halfTurnRadians = 3.141592653589793;

struct NotationCodec {
    NotationForm form;
    // What recognizes looks for after leading blanks. A form that is not
    // unambiguous needs a number right after it.
    const char* start = "";
    bool numberAfterStart = false;
    const char* expected = ""; // the message for a text not of the form
    // The members in the text's units, in the order of the table's members.
    void (*members)(const Transform& pose, double* out) = nullptr;
    // The millimetres of one unit of the translation (1000 for metres). A
    // translation written with fixed decimals is rounded once, from the
    // length itself, not from the decimal it was read as.
    double translationScale = 1.0;
    // The pose from the members as read; false with a message for members
    // that describe no pose.
    bool (*pose)(const double* members, Transform& pose, std::string& message) = nullptr;
    // Yaskawa's variable name before the form: how it is read and what is written.
    bool (*readLead)(std::string_view text, std::size_t& pos) = nullptr;
    const char* writtenLead = "";
    // Mitsubishi's flags after the form: read into the carried text and written back.
    bool (*readTrail)(std::string_view text, std::size_t& pos, std::string& carried) = nullptr;
};

bool recognizesCodec(const NotationCodec& codec, std::string_view text);
bool readCodec(const NotationCodec& codec, std::string_view text, Transform& pose,
               NotationText& carried, std::string& message);
std::string writeCodec(const NotationCodec& codec, const Transform& pose,
                       const NotationText& carried);
void codecValues(const NotationCodec& codec, const Transform& pose, double* out);

// A length in the text's unit, of which scale millimetres make one.
double fromMillimetres(double millimetres, double scale);

// The translation as the first three members, and back; scale is the
// millimetres of one unit of the text.
void translationMembers(const Transform& pose, double scale, double* out);
void placeTranslation(const double* members, double scale, Transform& pose);

template <const NotationCodec& codec>
bool recognizesWith(std::string_view text) {
    return recognizesCodec(codec, text);
}
template <const NotationCodec& codec>
bool readWith(std::string_view text, Transform& pose, NotationText& carried, std::string& message) {
    return readCodec(codec, text, pose, carried, message);
}
template <const NotationCodec& codec>
std::string writeWith(const Transform& pose, const NotationText& carried) {
    return writeCodec(codec, pose, carried);
}
template <const NotationCodec& codec>
void valuesWith(const Transform& pose, double* out) {
    codecValues(codec, pose, out);
}
