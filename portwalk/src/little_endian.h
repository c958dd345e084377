// Little-endian fields of the hub driver's request and reply buffers, read and written through
// explicit helpers; a field that does not lie wholly inside the buffer reads as 0 and is not
// written, so a short or malformed reply can never move an access outside its buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace portwalk {

using Bytes = std::vector<std::uint8_t>;

inline std::uint8_t readU8(const Bytes& bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : 0;
}

inline std::uint16_t readU16(const Bytes& bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) return 0;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::uint32_t readU32(const Bytes& bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline void writeU8(Bytes& bytes, std::size_t offset, std::uint8_t value) {
    if (offset < bytes.size()) bytes[offset] = value;
}

inline void writeU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    if (offset > bytes.size() || bytes.size() - offset < 2) return;
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void writeU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return;
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// UTF-16 units from offset up to the end of the buffer or the first zero unit.
inline std::u16string readUtf16(const Bytes& bytes, std::size_t offset, std::size_t unitCount) {
    std::u16string text;
    for (std::size_t i = 0; i < unitCount; ++i) {
        const std::size_t at = offset + 2 * i;
        if (at > bytes.size() || bytes.size() - at < 2) break;
        const char16_t unit = static_cast<char16_t>(readU16(bytes, at));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

}  // namespace portwalk
