#pragma once
// Helpers of the matrix and RFM text tests: images assembled field by field
// with their own checksum, readers and writers run on a plain block.

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "datablocks/hwdatablock.h"
#include "text/layouttext.h"
#include "text/primitives.h"

namespace quenmap::matrixtest {

// A block of the given id and size whose load copies the whole image.
class PlainBlock : public HwDatablock {
  public:
    PlainBlock(std::uint16_t id, std::size_t size, std::uint8_t flag = 1) : HwDatablock(flag) {
        initialise(id, size);
    }
};

// A little-endian image built independently of the code under test.
class Expected {
  public:
    Expected(std::uint16_t id, std::size_t size) : bytes_(size, 0) {
        u16(0, id);
        u16(2, static_cast<std::uint16_t>(size));
    }
    Expected& u8(std::size_t at, std::uint8_t v) {
        bytes_.at(at) = v;
        return *this;
    }
    Expected& u16(std::size_t at, std::uint16_t v) {
        u8(at, static_cast<std::uint8_t>(v));
        return u8(at + 1, static_cast<std::uint8_t>(v >> 8));
    }
    Expected& u32(std::size_t at, std::uint32_t v) {
        u16(at, static_cast<std::uint16_t>(v));
        return u16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
    Expected& f32(std::size_t at, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(at, bits);
    }
    Expected& f64(std::size_t at, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        u32(at, static_cast<std::uint32_t>(bits));
        return u32(at + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    // With the checksum that makes all 16-bit words sum to 0.
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

struct Read {
    Bytes bytes;
    int status = 0;  // 0, or the status of the text failure
    std::string message;
};

template <typename Reader>
Read runReader(const std::string& text, std::uint16_t id, std::size_t size, Reader read,
               std::uint8_t flag = 1) {
    std::istringstream in(text);
    std::ostringstream diagnostics;
    TextInput input(in, diagnostics);
    PlainBlock block(id, size, flag);
    Read result;
    try {
        read(input, block);
    } catch (const TextFailure& failure) {
        result.status = failure.status;
        result.message = failure.message;
    }
    result.bytes = block.bytes();
    return result;
}

// Runs the layout reader of the id, as the conversion run does.
inline Read readLayout(const std::string& text, std::uint16_t id, std::size_t size,
                       std::uint8_t flag = 1) {
    TextReader reader = layoutReaderFor(id);
    if (reader == nullptr) return Read{{}, -1, "no reader"};
    return runReader(text, id, size, reader, flag);
}

inline std::string writeLayout(const Bytes& image) {
    PlainBlock block(0, image.size());
    block.setFromImage(image.data(), image.size());
    std::ostringstream out;
    block.writeText(out);
    return out.str();
}

}  // namespace quenmap::matrixtest
