#pragma once
// Helpers of the layout text tests: a plain block of any id and size, images
// built field by field with their own checksum, and readers run in process.

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "datablocks/hwdatablock.h"
#include "text/layouttext.h"
#include "text/primitives.h"

namespace quenmap::test {

// A block of the given id and size whose load copies the whole image.
class RawBlock : public HwDatablock {
  public:
    RawBlock(std::uint16_t id, std::size_t size, std::uint8_t flag = 1) : HwDatablock(flag) {
        initialise(id, size);
    }
};

// A little-endian image assembled independently of the code under test.
class Image {
  public:
    Image(std::uint16_t id, std::size_t size) : bytes_(size, 0) {
        u16(0, id);
        u16(2, static_cast<std::uint16_t>(size));
    }
    Image& u8(std::size_t at, std::uint8_t v) {
        bytes_.at(at) = v;
        return *this;
    }
    Image& u16(std::size_t at, std::uint16_t v) {
        u8(at, static_cast<std::uint8_t>(v));
        return u8(at + 1, static_cast<std::uint8_t>(v >> 8));
    }
    Image& u32(std::size_t at, std::uint32_t v) {
        u16(at, static_cast<std::uint16_t>(v));
        return u16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
    Image& i16(std::size_t at, std::int16_t v) { return u16(at, static_cast<std::uint16_t>(v)); }
    Image& f32(std::size_t at, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(at, bits);
    }
    Image& f64(std::size_t at, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        u32(at, static_cast<std::uint32_t>(bits));
        return u32(at + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    Image& text(std::size_t at, const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) u8(at + i, static_cast<std::uint8_t>(s[i]));
        return *this;
    }
    // The checksum makes all 16-bit words of the block sum to 0.
    Bytes bytes() const {
        Bytes out = bytes_;
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
            if (i != 4) sum += out[i] | (out[i + 1] << 8);
        }
        std::uint16_t checksum = static_cast<std::uint16_t>(0x10000u - (sum & 0xFFFFu));
        out[4] = static_cast<std::uint8_t>(checksum);
        out[5] = static_cast<std::uint8_t>(checksum >> 8);
        return out;
    }

  private:
    Bytes bytes_;
};

inline std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

struct ReadResult {
    Bytes bytes;
    int status = 0;  // 0, or the status of the text failure
    std::string message;
};

// Runs the layout reader of `id` on text with a block of that id and size.
inline ReadResult readByLayout(const std::string& text, std::uint16_t id, std::size_t size,
                               std::uint8_t flag = 1) {
    std::istringstream in(text);
    std::ostringstream diagnostics;
    TextInput input(in, diagnostics);
    RawBlock block(id, size, flag);
    ReadResult result;
    TextReader read = layoutReaderFor(id);
    if (read == nullptr) {
        result.status = -1;
        return result;
    }
    try {
        read(input, block);
    } catch (const TextFailure& failure) {
        result.status = failure.status;
        result.message = failure.message;
    }
    result.bytes = block.bytes();
    return result;
}

inline std::string writeByLayout(const Bytes& image) {
    RawBlock block(0, image.size());
    block.setFromImage(image.data(), image.size());
    std::ostringstream out;
    writeTextByLayout(out, block);
    return out.str();
}

}  // namespace quenmap::test
