#pragma once
// Bytes as lower-case hex digits, two per byte.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenview {

inline std::string hexOf(const std::uint8_t* bytes, std::size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex(2 * count, '0');
    for (std::size_t i = 0; i < count; ++i) {
        hex[2 * i] = kDigits[bytes[i] >> 4];
        hex[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    return hex;
}

}  // namespace quenview
