#pragma once
// The pieces every block decoder builds its content from: stored elements
// read from the block's bytes, physical values by the view row, and grids
// with their x axis from the companion block.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "blockcontent.h"
#include "datablocks/bytes.h"
#include "model/model.h"
#include "viewtable.h"

namespace quenview {

// An x label or an axis value that is not known.
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// A stored element as the text writer reads it.
enum class Cell : std::uint8_t { I8, U8, I16, U16, I32, U32, F32, F64 };

template <typename T>
constexpr Cell cellOf() {
    if constexpr (std::is_same_v<T, std::int8_t>) return Cell::I8;
    if constexpr (std::is_same_v<T, std::uint8_t>) return Cell::U8;
    if constexpr (std::is_same_v<T, std::int16_t>) return Cell::I16;
    if constexpr (std::is_same_v<T, std::uint16_t>) return Cell::U16;
    if constexpr (std::is_same_v<T, std::int32_t>) return Cell::I32;
    if constexpr (std::is_same_v<T, std::uint32_t>) return Cell::U32;
    if constexpr (std::is_same_v<T, float>) return Cell::F32;
    return Cell::F64;
}

constexpr std::size_t cellWidth(Cell cell) {
    switch (cell) {
        case Cell::I8:
        case Cell::U8:
            return 1;
        case Cell::I16:
        case Cell::U16:
            return 2;
        case Cell::I32:
        case Cell::U32:
        case Cell::F32:
            return 4;
        case Cell::F64:
            return 8;
    }
    return 1;
}

// The stored number at offset (0 beyond the bytes): the integer, or the real.
// Inline: the large blocks read hundreds of thousands of them.
inline double readStored(const quenmap::Bytes& bytes, std::size_t offset, Cell cell) {
    const std::uint64_t raw = quenmap::readRaw(bytes, offset, cellWidth(cell));
    switch (cell) {
        case Cell::I8:
            return static_cast<std::int8_t>(raw);
        case Cell::U8:
            return static_cast<std::uint8_t>(raw);
        case Cell::I16:
            return static_cast<std::int16_t>(raw);
        case Cell::U16:
            return static_cast<std::uint16_t>(raw);
        case Cell::I32:
            return static_cast<std::int32_t>(raw);
        case Cell::U32:
            return static_cast<double>(static_cast<std::uint32_t>(raw));
        case Cell::F32:
            return quenmap::floatOf(static_cast<std::uint32_t>(raw));
        case Cell::F64:
            return quenmap::doubleOf(raw);
    }
    return 0.0;
}

// The values of the companion block that stand for the rows: one axis per
// grid of the companion (the lowpass frequency block has nine).
struct Axis {
    Quantity quantity;
    std::vector<double> values;
};

// What a decoder is given besides the block.
struct DecodeInput {
    const ViewRow& view;
    const quenmap::BlockType& type;
    std::vector<Axis> axes;  // empty when the type has no companion or the image lacks it
    const CompanionLookup& companions;  // other blocks of the image a decoder needs
    const Axis* axis(std::size_t index = 0) const {
        return index < axes.size() ? &axes[index] : nullptr;
    }
};

inline std::optional<double> finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// (printed + offset) * scale by the view row; absent for a real that is not finite.
inline std::optional<double> physicalOf(double printed, const ViewRow& view) {
    return finite((printed + view.offset) * view.scale);
}

// A grid of rows x columns, all values absent. Its x axis comes from the axis
// (labels padded with NaN where the axis is shorter) or numbers the rows.
Grid makeGrid(std::string title, std::vector<Quantity> columns, std::size_t rows, bool chart,
              const Axis* axis);

inline void setCell(Grid& grid, std::size_t row, std::size_t column, std::optional<double> value,
                    double raw) {
    grid.set(row, column, value, raw);
}

Field numberField(std::string name, std::string unit, std::optional<double> value, double raw);
Field textField(std::string name, std::string text, double raw);

// The view row's quantity as a one-column list.
std::vector<Quantity> quantityColumn(const ViewRow& view);

}  // namespace quenview
