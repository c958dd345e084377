// The scan result: one entry per host controller that could be opened, each with its ports in
// walk order (depth-first, external hubs replaced in place by their own ports).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace portwalk {

// The text of a port always fits the documented 41 bytes; a longer serial number is cut.
constexpr std::size_t kMaxSerialLength = 19;

struct PortEntry {
    std::uint16_t vendorId = 0;   // 0 when no device is connected
    std::uint16_t productId = 0;  // 0 when no device is connected
    std::string serialNumber;     // empty when the device has none or it was not read
};

struct ControllerEntry {
    std::string path;  // the device path that opened the controller
    std::vector<PortEntry> ports;
};

using ControllerList = std::vector<ControllerEntry>;

// Keeps at most kMaxSerialLength characters, ending at the first zero byte.
inline std::string limitSerialNumber(const std::string& text) {
    std::string serial = text.substr(0, text.find('\0'));
    if (serial.size() > kMaxSerialLength) serial.resize(kMaxSerialLength);
    return serial;
}

}  // namespace portwalk
