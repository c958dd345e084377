#include "contentgrid.h"

#include <algorithm>
#include <utility>

namespace quenview {

Grid makeGrid(std::string title, std::vector<Quantity> columns, std::size_t rows, bool chart,
              const Axis* axis) {
    Grid grid;
    grid.title = std::move(title);
    grid.chart = chart;
    const std::size_t width = columns.size();
    grid.columns = std::move(columns);
    grid.values.assign(rows * width, kUnknown);
    grid.raw.assign(rows * width, 0.0);
    if (axis != nullptr) {
        grid.x = axis->quantity;
        grid.xValues.assign(rows, kUnknown);
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
