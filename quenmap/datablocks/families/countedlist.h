#pragma once
// The counted list family: a count field and `Capacity` elements of one type
// packed from byte `Offset` on. Records of a single value (a serial number, a
// counter) are lists of capacity 1 without a count.

#include "catalogueblock.h"

namespace quenmap {

template <CountKind Kind, typename Element, std::size_t Capacity, std::size_t Offset = 12>
class CountedList : public CatalogueBlock {
  public:
    using ElementType = Element;
    static constexpr std::size_t kCapacity = Capacity;
    static constexpr std::size_t kElementOffset = Offset;
    static constexpr std::size_t kSize = Offset + Capacity * sizeof(Element);
    static_assert(Offset >= countSlotsEnd(Kind), "elements start after the count field");
    static_assert(kSize % 2 == 0 && kSize <= 0xFFFF, "block sizes are even 16-bit lengths");

    static constexpr std::size_t offsetOf(std::size_t index) {
        return Offset + index * sizeof(Element);
    }

    // 0 beyond the capacity.
    Element value(std::size_t index) const {
        return index < Capacity ? field<Element>(offsetOf(index)) : Element{};
    }
    // Ignored beyond the capacity; refreshes the checksum.
    void setValue(Element value, std::size_t index) {
        if (index < Capacity) setField(offsetOf(index), value);
    }

  protected:
    CountedList(std::uint16_t baseId, std::uint32_t instance, std::uint8_t flag)
        : CatalogueBlock(flag, Kind, baseId, instance, kSize, Offset) {}
};

}  // namespace quenmap
