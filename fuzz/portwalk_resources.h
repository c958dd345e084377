// The promise both portwalk targets check after every walk: each port's resource text, as
// GetPortResource writes it into the caller's buffer, fits the documented 40 characters plus
// terminator, and indexes past the counts leave the buffer as it was.
#pragma once

#include <cstring>
#include <string>

#include "controller_table.h"
#include "fuzz_input.h"
#include "port_list.h"

namespace fuzzing {

inline void requireResourcesFit(const portwalk::ControllerList& controllers) {
    using portwalk::kResourceSize;
    constexpr unsigned char kUntouched = 0xA5;
    portwalk::ControllerTable table;
    const std::int32_t controllerCount = table.replace(controllers);
    // Room behind the documented size shows any byte written past it.
    char buffer[kResourceSize + 64];
    for (std::int32_t c = 0; c <= controllerCount; ++c) {
        const std::int32_t portCount = table.portCount(c);
        require(c < controllerCount || portCount == 0, "no ports behind the last controller");
        for (std::int32_t p = 0; p <= portCount; ++p) {
            std::memset(buffer, kUntouched, sizeof buffer);
            table.writeResource(static_cast<std::uint32_t>(c), static_cast<std::uint32_t>(p),
                                buffer);
            for (std::size_t i = kResourceSize; i < sizeof buffer; ++i) {
                require(static_cast<unsigned char>(buffer[i]) == kUntouched,
                        "nothing is written past the documented 41 bytes");
            }
            if (c == controllerCount || p == portCount) {
                for (std::size_t i = 0; i < kResourceSize; ++i) {
                    require(static_cast<unsigned char>(buffer[i]) == kUntouched,
                            "an index equal to its count leaves the buffer untouched");
                }
                continue;
            }
            const void* terminator = std::memchr(buffer, 0, kResourceSize);
            require(terminator != nullptr, "the text ends within 40 characters plus terminator");
            const std::string text(buffer);
            const auto& port = controllers[static_cast<std::size_t>(c)].ports[p];
            require(port.serialNumber.size() <= portwalk::kMaxSerialLength &&
                        port.serialNumber.find('\0') == std::string::npos,
                    "a serial number keeps at most 19 characters and no zero byte");
            if (port.vendorId == portwalk::MakerVendorId) {
                require(text.rfind("USB::0x", 0) == 0, "a maker's device gets a resource text");
            } else {
                require(text == "-", "every other port answers \"-\"");
            }
        }
    }
}

}  // namespace fuzzing
