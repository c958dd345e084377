#pragma once
// Little-endian access to a block's bytes. Reads beyond the end answer 0 and
// writes beyond the end do nothing, so every block getter and setter gets its
// "out of range" behaviour from here rather than from checks of its own.

#include <cstddef>
#include <cstdint>
#include <cstring>
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

inline std::uint64_t readU64(const Bytes& bytes, std::size_t offset) {
    if (!fits(bytes, offset, 8)) return 0;
    return static_cast<std::uint64_t>(readU32(bytes, offset)) |
           (static_cast<std::uint64_t>(readU32(bytes, offset + 4)) << 32);
}

// An element of 1, 2, 4 or 8 bytes as raw bits; other widths read as 0.
inline std::uint64_t readRaw(const Bytes& bytes, std::size_t offset, std::size_t width) {
    switch (width) {
        case 1:
            return readU8(bytes, offset);
        case 2:
            return readU16(bytes, offset);
        case 4:
            return readU32(bytes, offset);
        case 8:
            return readU64(bytes, offset);
        default:
            return 0;
    }
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

inline bool writeU64(Bytes& bytes, std::size_t offset, std::uint64_t value) {
    if (!fits(bytes, offset, 8)) return false;
    writeU32(bytes, offset, static_cast<std::uint32_t>(value));
    writeU32(bytes, offset + 4, static_cast<std::uint32_t>(value >> 32));
    return true;
}

inline bool writeRaw(Bytes& bytes, std::size_t offset, std::size_t width, std::uint64_t raw) {
    switch (width) {
        case 1:
            return writeU8(bytes, offset, static_cast<std::uint8_t>(raw));
        case 2:
            return writeU16(bytes, offset, static_cast<std::uint16_t>(raw));
        case 4:
            return writeU32(bytes, offset, static_cast<std::uint32_t>(raw));
        case 8:
            return writeU64(bytes, offset, raw);
        default:
            return false;
    }
}

// IEEE reals as the bits they are stored with.
inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
inline std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
inline float floatOf(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline double doubleOf(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
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
