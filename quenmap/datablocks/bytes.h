#pragma once
// Little-endian access to a block's bytes. Reads beyond the end answer 0 and
// writes beyond the end do nothing, so every block getter and setter gets its
// "out of range" behaviour from here rather than from checks of its own.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenmap {

using Bytes = std::vector<std::uint8_t>;

inline bool fits(const Bytes& bytes, std::size_t offset, std::size_t width) {
    return offset <= bytes.size() && width <= bytes.size() - offset;
}

inline std::uint8_t readU8(const Bytes& bytes, std::size_t offset) {
    return fits(bytes, offset, 1) ? bytes[offset] : 0;
}

inline std::uint16_t readU16(const Bytes& bytes, std::size_t offset) {
    if (!fits(bytes, offset, 2)) return 0;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t readU32(const Bytes& bytes, std::size_t offset) {
    if (!fits(bytes, offset, 4)) return 0;
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline bool writeU8(Bytes& bytes, std::size_t offset, std::uint8_t value) {
    if (!fits(bytes, offset, 1)) return false;
    bytes[offset] = value;
    return true;
}

inline bool writeU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    if (!fits(bytes, offset, 2)) return false;
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    return true;
}

inline bool writeU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    if (!fits(bytes, offset, 4)) return false;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return true;
}

// 16-bit wrap-around sum of the first wordCount little-endian words, bounded
// by the buffer so that a lying length field cannot make it read further.
inline std::uint16_t sumWords(const std::uint8_t* data, std::size_t available,
                              std::size_t wordCount) {
    std::size_t words = available / 2 < wordCount ? available / 2 : wordCount;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < words; ++i) sum += data[2 * i] | (data[2 * i + 1] << 8);
    return static_cast<std::uint16_t>(sum);
}

}  // namespace quenmap
