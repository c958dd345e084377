#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace runhost {

// Bounds-checked reads over a byte buffer: a read that would leave the buffer
// answers 0 (or an empty text) instead of touching memory outside it.
class ByteView {
  public:
    explicit ByteView(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    bool contains(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::uint32_t u32(std::size_t offset) const {
        if (!contains(offset, 4)) return 0;
        return static_cast<std::uint32_t>(bytes_[offset]) |
               static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
    }

    // All bytes of the range, zero bytes included.
    std::string bytes(std::size_t offset, std::size_t length) const {
        if (!contains(offset, length)) return std::string();
        return std::string(reinterpret_cast<const char*>(bytes_.data()) + offset, length);
    }

    // The zero-terminated text starting at offset, never running past `limit`.
    std::string zeroTerminated(std::size_t offset, std::size_t limit) const {
        std::string text;
        for (std::size_t i = offset; i < limit && i < bytes_.size() && bytes_[i] != 0; ++i) {
            text.push_back(static_cast<char>(bytes_[i]));
        }
        return text;
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
};

inline std::uint32_t DecodeU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void StoreU32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace runhost
