#include "hwdatablockend.h"

#include "text/recordtext.h"

namespace quenmap {

HwDatablockEnd::HwDatablockEnd() : HwDatablock(1) {
    bytes_.assign(4, 0);
    writeU16(bytes_, 0, kEndBlockId);
}

std::uint16_t HwDatablockEnd::length() const {
    return bytes_.size() >= 4 ? static_cast<std::uint16_t>(bytes_.size()) : 0;
}

std::ostream& HwDatablockEnd::writeText(std::ostream& out) const {
    return writeEndText(out, *this);
}

int HwDatablockEnd::setFromImage(const std::uint8_t* image, std::size_t available) {
    if (image == nullptr || available < 4) {
        reportRejected();
        return kRejected;
    }
    bytes_.assign(image, image + 4);
    return kLoaded;
}

std::uint16_t HwDatablockEnd::endImageChecksum(const std::uint8_t*, std::uint16_t) const {
    return 0;
}

bool HwDatablockEnd::verifyEndImage(const std::uint8_t*, std::uint16_t) const {
    return true;
}

}  // namespace quenmap
