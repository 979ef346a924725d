// Reads arbitrary bytes as a whole KUKA KRL file.

#include "fuzz/file_reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return checkFileReader(data, size, Vendor::kuka);
}
