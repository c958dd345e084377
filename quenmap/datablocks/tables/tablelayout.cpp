#include "tablelayout.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace quenmap {

namespace {

// Truncates toward zero and holds the result to [low, high]; NaN gives 0.
std::int64_t truncateInto(double value, double low, double high) {
    if (std::isnan(value)) return 0;
    if (value <= low) return static_cast<std::int64_t>(low);
    if (value >= high) return static_cast<std::int64_t>(high);
    return static_cast<std::int64_t>(std::trunc(value));
}

float toFloat(double value) {
    const double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::numeric_limits<float>::infinity();
    if (value < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

std::int64_t readIntegerCell(const Bytes& bytes, const TableShape& shape, std::uint32_t row,
                             std::uint32_t column) {
    if (!shape.holds(row, column)) return 0;
    const std::size_t offset = shape.cellOffset(row, column);
    switch (shape.cell) {
        case CellType::U8:
            return readU8(bytes, offset);
        case CellType::I16:
            return static_cast<std::int16_t>(readU16(bytes, offset));
        case CellType::U16:
            return readU16(bytes, offset);
        case CellType::I32:
            return static_cast<std::int32_t>(readU32(bytes, offset));
        case CellType::U32:
        case CellType::F32:
            return readU32(bytes, offset);
        case CellType::F64:
            return static_cast<std::int64_t>(readU64(bytes, offset));
    }
    return 0;
}

double readCell(const Bytes& bytes, const TableShape& shape, std::uint32_t row,
                std::uint32_t column) {
    if (!shape.holds(row, column)) return 0.0;
    const std::size_t offset = shape.cellOffset(row, column);
    switch (shape.cell) {
        case CellType::F32:
            return floatOf(readU32(bytes, offset));
        case CellType::F64:
            return doubleOf(readU64(bytes, offset));
        default:
            return static_cast<double>(readIntegerCell(bytes, shape, row, column));
    }
}

bool writeIntegerCell(Bytes& bytes, const TableShape& shape, std::uint32_t row,
                      std::uint32_t column, std::int64_t value) {
    if (!shape.holds(row, column)) return false;
    const std::size_t offset = shape.cellOffset(row, column);
    const auto bits = static_cast<std::uint64_t>(value);
    switch (cellWidth(shape.cell)) {
        case 1:
            return writeU8(bytes, offset, static_cast<std::uint8_t>(bits));
        case 2:
            return writeU16(bytes, offset, static_cast<std::uint16_t>(bits));
        case 4:
            return writeU32(bytes, offset, static_cast<std::uint32_t>(bits));
        default:
            return writeU64(bytes, offset, bits);
    }
}

bool writeCell(Bytes& bytes, const TableShape& shape, std::uint32_t row, std::uint32_t column,
               double value) {
    if (!shape.holds(row, column)) return false;
    const std::size_t offset = shape.cellOffset(row, column);
    switch (shape.cell) {
        case CellType::U8:
            return writeIntegerCell(bytes, shape, row, column, truncateInto(value, 0, 255));
        case CellType::I16:
            return writeIntegerCell(bytes, shape, row, column, truncateInto(value, -32768, 32767));
        case CellType::U16:
            return writeIntegerCell(bytes, shape, row, column, truncateInto(value, 0, 65535));
        case CellType::I32:
            return writeIntegerCell(bytes, shape, row, column,
                                    truncateInto(value, -2147483648.0, 2147483647.0));
        case CellType::U32:
            return writeIntegerCell(bytes, shape, row, column,
                                    truncateInto(value, 0, 4294967295.0));
        case CellType::F32:
            return writeU32(bytes, offset, bitsOf(toFloat(value)));
        case CellType::F64:
            return writeU64(bytes, offset, bitsOf(value));
    }
    return false;
}

std::uint32_t readRowLabel(const Bytes& bytes, const TableShape& shape, std::uint32_t row) {
    if (shape.trailer != TableTrailer::RowLabels || row >= shape.rows) return 0;
    return readU32(bytes, shape.trailerOffset() + 4u * row);
}

bool writeRowLabel(Bytes& bytes, const TableShape& shape, std::uint32_t row, std::uint32_t label) {
    if (shape.trailer != TableTrailer::RowLabels || row >= shape.rows) return false;
    return writeU32(bytes, shape.trailerOffset() + 4u * row, label);
}

}  // namespace quenmap
