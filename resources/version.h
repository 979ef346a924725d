#pragma once

// The program's version, read by both the resource script (the version block)
// and the code (the About box), so the two can never disagree. Only
// preprocessor definitions: the resource compiler reads this file too.
#define POSEBRIDGE_VERSION_MAJOR 1
#define POSEBRIDGE_VERSION_MINOR 2
#define POSEBRIDGE_VERSION_PATCH 11
#define POSEBRIDGE_VERSION_BUILD 0

#define POSEBRIDGE_STRINGIFY_(x) #x
#define POSEBRIDGE_STRINGIFY(x) POSEBRIDGE_STRINGIFY_(x)

#define POSEBRIDGE_VERSION_TEXT                                                                    \
    POSEBRIDGE_STRINGIFY(POSEBRIDGE_VERSION_MAJOR)                                                 \
    "." POSEBRIDGE_STRINGIFY(POSEBRIDGE_VERSION_MINOR) "." POSEBRIDGE_STRINGIFY(                   \
        POSEBRIDGE_VERSION_PATCH) "." POSEBRIDGE_STRINGIFY(POSEBRIDGE_VERSION_BUILD)

#define POSEBRIDGE_VERSION_NUMBERS                                                                 \
    POSEBRIDGE_VERSION_MAJOR, POSEBRIDGE_VERSION_MINOR, POSEBRIDGE_VERSION_PATCH,                  \
        POSEBRIDGE_VERSION_BUILD
