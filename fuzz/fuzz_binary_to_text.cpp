// Fuzz target: a binary image converted to text, the "-a" run with every
// loader and writer, in process.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "driver/conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream image(std::string(reinterpret_cast<const char*>(data), size),
                             std::ios::binary);
    std::ostringstream ascii, log, out, err;
    std::istringstream keys;
    quenmap::Console console{keys, out, err};
    int status = quenmap::convertBinaryToText(image, ascii, log, "board.txt", "board.bin", console);
    // Every end is one of the two outcomes of the run, with its log.
    if (status != quenmap::kStatusSuccess && status != quenmap::kStatusUnknownBlockId)
        __builtin_trap();
    if (log.str().empty()) __builtin_trap();
    return 0;
}
