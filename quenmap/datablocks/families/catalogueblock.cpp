#include "catalogueblock.h"

namespace quenmap {

CatalogueBlock::CatalogueBlock(std::uint8_t flag, CountKind kind, std::uint16_t baseId,
                               std::uint32_t instance, std::size_t size, std::size_t elementOffset)
    : HwDatablock(flag),
      countKind_(kind),
      baseId_(baseId),
      instance_(instance),
      size_(size),
      elementOffset_(elementOffset) {
    initialise(static_cast<std::uint16_t>(baseId + instance), size);
}

std::uint32_t CatalogueBlock::countField(std::size_t index) const {
    if (index >= countSlotCount(countKind_)) return 0;
    CountSlot slot = countSlot(countKind_, index);
    switch (slot.width) {
        case 1:
            return readU8(bytes_, slot.offset);
        case 2:
            return readU16(bytes_, slot.offset);
        default:
            return readU32(bytes_, slot.offset);
    }
}

void CatalogueBlock::setCountField(std::uint32_t value, std::size_t index) {
    if (index >= countSlotCount(countKind_)) return;
    CountSlot slot = countSlot(countKind_, index);
    switch (slot.width) {
        case 1:
            storeU8(slot.offset, static_cast<std::uint8_t>(value));
            break;
        case 2:
            storeU16(slot.offset, static_cast<std::uint16_t>(value));
            break;
        default:
            storeU32(slot.offset, value);
            break;
    }
}

int CatalogueBlock::setFromImage(const std::uint8_t* image, std::size_t available) {
    if (!beginLoad(image, available, false)) return kRejected;
    loadPayload(image);
    return finishLoad(image);
}

void CatalogueBlock::loadPayload(const std::uint8_t* image) {
    // One copy and one checksum refresh: refreshing after every element of a
    // 60016-byte block would make the load quadratic for the same result.
    copyRaw(image, kHeaderSize, size_ - kHeaderSize);
    clearForcedBytes();
    refreshChecksum();
}

void CatalogueBlock::clearForcedBytes() {
    std::size_t end = countAreaEnd(countKind_);
    if (end > elementOffset_) end = elementOffset_;
    std::size_t slots = countSlotCount(countKind_);
    for (std::size_t offset = kCountOffset; offset < end; ++offset) {
        bool used = false;
        for (std::size_t i = 0; i < slots && !used; ++i) {
            CountSlot slot = countSlot(countKind_, i);
            used = offset >= slot.offset && offset < slot.offset + slot.width;
        }
        if (!used) clearRaw(offset, 1);
    }
}

void CatalogueBlock::copyRaw(const std::uint8_t* image, std::size_t offset, std::size_t count) {
    if (!fits(bytes_, offset, count)) return;
    for (std::size_t i = 0; i < count; ++i) bytes_[offset + i] = image[offset + i];
}

void CatalogueBlock::clearRaw(std::size_t offset, std::size_t count) {
    if (!fits(bytes_, offset, count)) return;
    for (std::size_t i = 0; i < count; ++i) bytes_[offset + i] = 0;
}

void CatalogueBlock::takeHeaderUnchecked(const std::uint8_t* image) {
    if (bytes_.size() != size_) bytes_.resize(size_, 0);
    setLength(static_cast<std::uint16_t>(size_));
    setId(static_cast<std::uint16_t>(image[0] | (image[1] << 8)));
    setHeaderWord3(0);
}

}  // namespace quenmap
