// Fuzz target: a text converted to a binary image, in process. The first byte
// chooses the work: even values a complete conversion (the board comes from
// the text's ident block), odd values a single block whose name the second
// and third bytes choose.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "driver/blockselection.h"
#include "driver/conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    quenmap::TextToBinaryRequest request{"board.txt", "board.bin", ""};
    if (data[0] % 2 == 1) {
        const auto& names = quenmap::blockNames();
        request.blockName = names[(data[1] | (data[2] << 8)) % names.size()].first;
    }
    std::istringstream text(std::string(reinterpret_cast<const char*>(data) + 3, size - 3));
    std::ostringstream binary(std::ios::binary), log, out, err;
    std::istringstream keys;
    quenmap::Console console{keys, out, err};
    int status = quenmap::convertTextToBinary(text, binary, log, request, console);
    // A failed conversion writes no image; a successful one writes its log.
    if (status != quenmap::kStatusSuccess && !binary.str().empty()) __builtin_trap();
    if (status == quenmap::kStatusSuccess && log.str().empty()) __builtin_trap();
    if (status == 1 || status == 2) {
        if (err.str().empty() || !log.str().empty()) __builtin_trap();
    }
    return 0;
}
