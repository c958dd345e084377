#include "contentgrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace quenview {

std::size_t cellWidth(Cell cell) {
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

double readStored(const quenmap::Bytes& bytes, std::size_t offset, Cell cell) {
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

std::optional<double> finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> physicalOf(double printed, const ViewRow& view) {
    return finite((printed + view.offset) * view.scale);
}

Grid makeGrid(std::string title, std::vector<Quantity> columns, std::size_t rows, bool chart,
              const Axis* axis) {
    Grid grid;
    grid.title = std::move(title);
    grid.chart = chart;
    const std::size_t width = columns.size();
    grid.columns = std::move(columns);
    grid.values.assign(rows, std::vector<std::optional<double>>(width));
    grid.raw.assign(rows, std::vector<double>(width, 0.0));
    if (axis != nullptr) {
        grid.x = axis->quantity;
        grid.xValues.assign(rows, std::numeric_limits<double>::quiet_NaN());
        const std::size_t known = std::min(rows, axis->values.size());
        for (std::size_t r = 0; r < known; ++r) grid.xValues[r] = axis->values[r];
    } else {
        grid.x = {"row", ""};
    }
    return grid;
}

Field numberField(std::string name, std::string unit, std::optional<double> value, double raw) {
    Field field;
    field.name = std::move(name);
    field.unit = std::move(unit);
    field.value = value;
    field.raw = raw;
    return field;
}

Field textField(std::string name, std::string text, double raw) {
    Field field;
    field.name = std::move(name);
    field.raw = raw;
    field.text = std::move(text);
    return field;
}

std::vector<Quantity> quantityColumn(const ViewRow& view) {
    return {Quantity{view.quantity, view.unit}};
}

}  // namespace quenview
