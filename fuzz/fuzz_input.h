#pragma once

// Shared by the fuzz targets: turning fuzz bytes into wide text, and the
// checks that end a run when an invariant breaks.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// Each byte becomes one UTF-16 unit, so ASCII texts reach the readers as they
// are; the byte 0xFF takes the next two bytes (low byte first) as one unit, so
// every unit, surrogates included, can still occur. Writes at most
// capacity - 1 units and a terminator; a zero unit ends the text early, as it
// would on the clipboard.
inline void wideFromBytes(const std::uint8_t* data, std::size_t size, wchar_t* out, int capacity) {
    int length = 0;
    std::size_t k = 0;
    while (k < size && length < capacity - 1) {
        unsigned unit = data[k++];
        if (unit == 0xFFu) {
            unit = 0;
            if (k < size) {
                unit = data[k++];
            }
            if (k < size) {
                unit |= static_cast<unsigned>(data[k++]) << 8;
            }
        }
        out[length++] = static_cast<wchar_t>(unit);
    }
    out[length] = L'\0';
}

// A check's own branches are no coverage of the code under test: left
// uninstrumented, they neither slow the run nor steer the fuzzer.
#define FUZZ_CHECKER __attribute__((no_sanitize("coverage")))

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)

inline bool sameBits(double p, double q) {
    return std::memcmp(&p, &q, sizeof p) == 0;
}

// A value read from text is a float widened to double.
inline bool isWidenedFloat(double v) {
    return std::isfinite(v) && static_cast<double>(static_cast<float>(v)) == v;
}

// Writers print a fixed number of decimals and readers round to float: a
// value survives the round trip within half a printed unit plus one float
// rounding of the value read back.
inline bool nearAfterRoundTrip(double original, double readBack, double halfPrintedUnit) {
    const double tolerance =
        halfPrintedUnit * (1.0 + 1e-6) + std::fabs(original) * (1.0 / 16777216.0) + 1e-300;
    return std::fabs(original - readBack) <= tolerance;
}

inline bool withinFloatRange(double v) {
    return std::isfinite(v) && std::fabs(v) <= static_cast<double>(FLT_MAX);
}
