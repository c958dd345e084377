#include "imagebuilder.h"

namespace quenmap {

int ImageBuilder::loadInto(HwDatablock& block, std::uint16_t id, std::uint16_t headerWord3) {
    std::uint16_t length = static_cast<std::uint16_t>(image_.size());
    writeU16(image_, 0, id);
    writeU16(image_, 2, length);
    writeU16(image_, 4, 0);
    writeU16(image_, 6, headerWord3);
    writeU16(image_, 4, block.checksumOf(image_.data(), length));
    return block.setFromImage(image_.data(), image_.size());
}

}  // namespace quenmap
