#include "referencevalue.h"

#include "datablocks/errorreporter.h"

namespace quenmap {

ReferenceValueBlock::ReferenceValueBlock(std::uint8_t flag, CountKind kind, std::uint16_t id,
                                         const char* failureDetail, bool acceptsUncheckedImage)
    : CatalogueBlock(flag, kind, id, 0, kSize, kValueOffset),
      failureDetail_(failureDetail),
      acceptsUncheckedImage_(acceptsUncheckedImage) {}

std::uint32_t ReferenceValueBlock::value(std::size_t index) const {
    return index == 0 ? readU32(bytes_, kValueOffset) : 0;
}

int ReferenceValueBlock::setValue(std::uint32_t newValue, std::size_t index) {
    if (index != 0) {
        refreshChecksum();
        return -1;
    }
    writeU32(bytes_, kValueOffset, newValue);
    const bool stored = readU32(bytes_, kValueOffset) == newValue;
    refreshChecksum();
    if (stored) return 0;
    ErrorReporter::report(error_codes::kWriteToEepromFailed, failureDetail_);
    return -1;
}

bool ReferenceValueBlock::isUncheckedImage(const std::uint8_t* image, std::size_t available) const {
    if (!acceptsUncheckedImage_ || image == nullptr || available < kSize) return false;
    const std::uint16_t imageId = static_cast<std::uint16_t>(image[0] | (image[1] << 8));
    const std::uint16_t imageLength = static_cast<std::uint16_t>(image[2] | (image[3] << 8));
    const std::uint16_t imageWord3 = static_cast<std::uint16_t>(image[6] | (image[7] << 8));
    return imageId == baseId() && imageLength == kSize && imageWord3 == 0;
}

int ReferenceValueBlock::setFromImage(const std::uint8_t* image, std::size_t available) {
    const bool verified = image != nullptr && available >= kSize && verifyImage(image, kSize);
    if (!verified && isUncheckedImage(image, available)) {
        takeHeaderUnchecked(image);
    } else if (!beginLoad(image, available, false)) {
        return kRejected;
    }
    loadPayload(image);
    return finishLoad(image);
}

void ReferenceValueBlock::loadPayload(const std::uint8_t* image) {
    copyRaw(image, kCountOffset, kValueOffset - kCountOffset);
    clearForcedBytes();
    refreshChecksum();
    const std::uint32_t imageValue = static_cast<std::uint32_t>(image[12]) |
                                     (static_cast<std::uint32_t>(image[13]) << 8) |
                                     (static_cast<std::uint32_t>(image[14]) << 16) |
                                     (static_cast<std::uint32_t>(image[15]) << 24);
    setValue(imageValue, 0);
}

}  // namespace quenmap
