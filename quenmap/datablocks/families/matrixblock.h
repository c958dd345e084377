#pragma once
// The matrix family: a count field and Rows x Columns elements of one type,
// row-major from byte `Offset` on; element (r, c) at Offset + w (Columns r + c).
// A matrix may be built with fewer rows than its type allows (the block is
// then shorter); getters and setters follow the rows it was built with.

#include "catalogueblock.h"

namespace quenmap {

template <CountKind Kind, typename Element, std::size_t Rows, std::size_t Columns,
          std::size_t Offset = 12>
class MatrixBlock : public CatalogueBlock {
  public:
    using ElementType = Element;
    static constexpr std::size_t kRows = Rows;
    static constexpr std::size_t kColumns = Columns;
    static constexpr std::size_t kElementOffset = Offset;
    static constexpr std::size_t kSize = Offset + Rows * Columns * sizeof(Element);
    static_assert(Offset >= countSlotsEnd(Kind), "elements start after the count field");
    static_assert(kSize % 2 == 0 && kSize <= 0xFFFF, "block sizes are even 16-bit lengths");

    static constexpr std::size_t sizeFor(std::size_t rows) {
        return Offset + rows * Columns * sizeof(Element);
    }
    static constexpr std::size_t offsetOf(std::size_t row, std::size_t column) {
        return Offset + (row * Columns + column) * sizeof(Element);
    }

    std::size_t rowCapacity() const { return rows_; }
    std::size_t columnCapacity() const { return Columns; }

    // 0 outside the rows and columns the block was built with.
    Element value(std::size_t row, std::size_t column) const {
        return contains(row, column) ? field<Element>(offsetOf(row, column)) : Element{};
    }
    // Ignored outside them; refreshes the checksum.
    void setValue(Element value, std::size_t row, std::size_t column) {
        if (contains(row, column)) setField(offsetOf(row, column), value);
    }

  protected:
    MatrixBlock(std::uint16_t baseId, std::uint32_t instance, std::uint8_t flag,
                std::size_t rows = Rows)
        : CatalogueBlock(flag, Kind, baseId, instance, sizeFor(rows <= Rows ? rows : Rows), Offset),
          rows_(rows <= Rows ? rows : Rows) {}

    bool contains(std::size_t row, std::size_t column) const {
        return row < rows_ && column < Columns;
    }

  private:
    std::size_t rows_;
};

}  // namespace quenmap
