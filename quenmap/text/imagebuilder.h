#pragma once
// A text reader assembles the complete binary image of its block in a local
// buffer and loads the object from it. This is that buffer.

#include <cstdint>

#include "datablocks/hwdatablock.h"

namespace quenmap {

class ImageBuilder {
  public:
    explicit ImageBuilder(std::size_t size) : image_(size, 0) {}
    void setU8(std::size_t offset, std::uint8_t value) { writeU8(image_, offset, value); }
    void setU16(std::size_t offset, std::uint16_t value) { writeU16(image_, offset, value); }
    void setU32(std::size_t offset, std::uint32_t value) { writeU32(image_, offset, value); }
    // An element of 1, 2, 4 or 8 bytes from its raw bits.
    void setRaw(std::size_t offset, std::size_t width, std::uint64_t raw) {
        writeRaw(image_, offset, width, raw);
    }
    Bytes& bytes() { return image_; }
    // Writes the header (id, full length, header word 3, checksum) and loads
    // the block from the image.
    int loadInto(HwDatablock& block, std::uint16_t id, std::uint16_t headerWord3 = 0);

  private:
    Bytes image_;
};

}  // namespace quenmap
