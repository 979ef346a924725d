// Reads arbitrary text as a KUKA aggregate; what was read must survive the
// writer and the reader again.

#include "fuzz/euler_reader_check.h"
#include "notation/kuka_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return checkEulerReader(data, size, parseKukaText, formatKukaText, 0.005);
}
