#pragma once
// The byte layout shared by every row-by-column table block: rows in use at
// 8-11, columns in use at 12-15, the cells row after row from 16 with the
// column capacity as the row stride, then an optional trailer (one u32 row
// label per row of capacity, or ten 16-byte user entries).

#include <cstddef>
#include <cstdint>

#include "datablocks/bytes.h"

namespace quenmap {

enum class CellType : std::uint8_t { U8, I16, U16, I32, U32, F32, F64 };

enum class TableTrailer : std::uint8_t {
    None,
    RowLabels,    // one u32 per row of capacity, the row labels of the text
    UserEntries,  // ten 16-byte entries that the text does not carry
};

constexpr std::size_t kTableRowsOffset = 8;
constexpr std::size_t kTableColumnsOffset = 12;
constexpr std::size_t kTableCellsOffset = 16;
constexpr std::size_t kUserEntryCount = 10;
constexpr std::size_t kUserEntrySize = 16;

constexpr std::size_t cellWidth(CellType type) {
    switch (type) {
        case CellType::U8:
            return 1;
        case CellType::I16:
        case CellType::U16:
            return 2;
        case CellType::I32:
        case CellType::U32:
        case CellType::F32:
            return 4;
        case CellType::F64:
            return 8;
    }
    return 0;
}

constexpr bool isRealCell(CellType type) {
    return type == CellType::F32 || type == CellType::F64;
}

struct TableShape {
    std::uint32_t rows;     // row capacity R
    std::uint32_t columns;  // column capacity C
    CellType cell;
    TableTrailer trailer;

    constexpr std::size_t cellOffset(std::uint32_t row, std::uint32_t column) const {
        return kTableCellsOffset +
               cellWidth(cell) * (static_cast<std::size_t>(row) * columns + column);
    }
    constexpr std::size_t trailerOffset() const { return cellOffset(rows, 0); }
    constexpr std::size_t trailerSize() const {
        return trailer == TableTrailer::RowLabels     ? 4u * rows
               : trailer == TableTrailer::UserEntries ? kUserEntryCount * kUserEntrySize
                                                      : 0u;
    }
    constexpr std::size_t blockSize() const { return trailerOffset() + trailerSize(); }
    constexpr bool holds(std::uint32_t row, std::uint32_t column) const {
        return row < rows && column < columns;
    }
};

// The stored number of a cell (no scale applied); 0 outside the capacity.
double readCell(const Bytes& bytes, const TableShape& shape, std::uint32_t row,
                std::uint32_t column);
// The stored bits of an integer cell, sign-extended for the signed types.
std::int64_t readIntegerCell(const Bytes& bytes, const TableShape& shape, std::uint32_t row,
                             std::uint32_t column);
// Stores a number in a cell: real cells take it as it is, integer cells take
// it truncated toward zero and held to the range of the cell type. Outside
// the capacity nothing is written; answers whether the cell was written.
bool writeCell(Bytes& bytes, const TableShape& shape, std::uint32_t row, std::uint32_t column,
               double value);
// Stores raw integer bits in an integer cell (the low bits of value).
bool writeIntegerCell(Bytes& bytes, const TableShape& shape, std::uint32_t row,
                      std::uint32_t column, std::int64_t value);

// The row label of a table with row labels; 0 elsewhere.
std::uint32_t readRowLabel(const Bytes& bytes, const TableShape& shape, std::uint32_t row);
bool writeRowLabel(Bytes& bytes, const TableShape& shape, std::uint32_t row, std::uint32_t label);

}  // namespace quenmap
