#pragma once
// The common base of the catalogue's block classes: a block of fixed size
// with an id (base id + instance index), an optional count field, and a load
// that copies the payload and clears what the class keeps at 0.

#include <cstddef>
#include <cstdint>

#include "datablocks/hwdatablock.h"
#include "layout.h"

namespace quenmap {

class CatalogueBlock : public HwDatablock {
  public:
    std::uint32_t instanceIndex() const { return instance_; }
    std::uint16_t baseId() const { return baseId_; }
    CountKind countKind() const { return countKind_; }

    // The count of a one-count block (the first count of the others).
    std::uint32_t count() const { return countField(0); }
    void setCount(std::uint32_t value) { setCountField(value, 0); }
    // Count `index` of the count field (rows and columns, the nine lowpass
    // counts); 0 beyond the field. A setter stores the field's own width.
    std::uint32_t countField(std::size_t index) const;
    void setCountField(std::uint32_t value, std::size_t index);

    std::size_t blockSize() const override { return size_; }
    int setFromImage(const std::uint8_t* image, std::size_t available) override;

  protected:
    CatalogueBlock(std::uint8_t flag, CountKind kind, std::uint16_t baseId, std::uint32_t instance,
                   std::size_t size, std::size_t elementOffset);

    // Copies the payload of a verified image of blockSize() bytes.
    virtual void loadPayload(const std::uint8_t* image);
    // Clears, after a copy, the bytes the class keeps at 0 whatever an image
    // holds; by default the unused bytes of the count field.
    virtual void clearForcedBytes();
    // Copies image bytes [offset, offset + count) without a checksum refresh
    // (a load refreshes once at its end).
    void copyRaw(const std::uint8_t* image, std::size_t offset, std::size_t count);
    void clearRaw(std::size_t offset, std::size_t count);
    // Takes id, length and word 3 of an image whose checksum is not checked.
    void takeHeaderUnchecked(const std::uint8_t* image);

    template <typename T>
    T field(std::size_t offset) const {
        return ElementCodec<T>::read(bytes_, offset);
    }
    template <typename T>
    void setField(std::size_t offset, T value) {
        if (ElementCodec<T>::write(bytes_, offset, value)) refreshChecksum();
    }

    std::size_t elementOffset() const { return elementOffset_; }

  private:
    CountKind countKind_;
    std::uint16_t baseId_;
    std::uint32_t instance_;
    std::size_t size_;
    std::size_t elementOffset_;
};

}  // namespace quenmap
