// Row-by-column table blocks: the rows and columns in use, each cell as the
// table's text form prints it (its own scale applied).

#include <algorithm>
#include <cmath>
#include <string>

#include "datablocks/tables/hwtabledatablock.h"
#include "decoders.h"

namespace quenview {

namespace {

using quenmap::HwTableDatablock;
using quenmap::TableTextForm;

// The stored number of a cell; the register table's raw bits.
double storedCell(const HwTableDatablock& table, std::uint32_t row, std::uint32_t column) {
    if (table.textForm() == TableTextForm::GxnAttRegData) {
        return static_cast<double>(static_cast<std::uint32_t>(table.rawCell(row, column)));
    }
    return table.storedCell(row, column);
}

// The printed number of a stored cell: scaled by the table's scale; the GXN
// data tables print it truncated, the register table the raw bits.
double printedCell(const HwTableDatablock& table, double stored) {
    switch (table.textForm()) {
        case TableTextForm::GxnAttCalData:
        case TableTextForm::GxnTempCompData:
            return std::trunc(stored * table.scale());
        case TableTextForm::GxnAttRegData:
            return stored;
        default:
            return stored * table.scale();
    }
}

bool hasRowLabels(const HwTableDatablock& table) {
    return table.shape().trailer == quenmap::TableTrailer::RowLabels;
}

// A table row turned into a curve: named by its row label where the table
// keeps them, else by its number as the text numbers it (from 1).
std::string tableRowName(const HwTableDatablock& table, std::uint32_t row) {
    if (hasRowLabels(table)) return "row " + std::to_string(table.rowLabel(row));
    return "row " + std::to_string(row + 1);
}

}  // namespace

void decodeTable(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* table = dynamic_cast<const HwTableDatablock*>(&block);
    if (table == nullptr) return;
    const ViewRow& view = input.view;
    const std::uint32_t rows = std::min(table->rowsInUse(), table->rowCapacity());
    const std::uint32_t columns = std::min(table->columnsInUse(), table->columnCapacity());
    const bool chart = view.series != Series::None;

    if (view.series == Series::Matrix) {
        // Every table row is a curve over the companion's frequencies.
        std::vector<Quantity> curves;
        curves.reserve(rows);
        for (std::uint32_t r = 0; r < rows; ++r)
            curves.push_back({tableRowName(*table, r), view.unit});
        Grid grid = makeGrid(view.quantity, std::move(curves), columns, chart, input.axis());
        for (std::uint32_t r = 0; r < rows; ++r) {
            for (std::uint32_t c = 0; c < columns; ++c) {
                const double stored = storedCell(*table, r, c);
                setCell(grid, c, r, physicalOf(printedCell(*table, stored), view), stored);
            }
        }
        out.grids.push_back(std::move(grid));
        return;
    }

    std::vector<Quantity> named;
    if (columns == 1) {
        named = quantityColumn(view);
    } else {
        named.reserve(columns);
        for (std::uint32_t c = 0; c < columns; ++c) {
            named.push_back({"column " + std::to_string(c + 1), view.unit});
        }
    }
    Grid grid = makeGrid(view.quantity, std::move(named), rows, chart, input.axis());
    if (input.axis() == nullptr && hasRowLabels(*table)) {
        grid.x = {"row label", ""};
        grid.xValues.resize(rows);
        for (std::uint32_t r = 0; r < rows; ++r) grid.xValues[r] = table->rowLabel(r);
    }
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            const double stored = storedCell(*table, r, c);
            setCell(grid, r, c, physicalOf(printedCell(*table, stored), view), stored);
        }
    }
    out.grids.push_back(std::move(grid));
}

void tableAxes(const quenmap::HwDatablock& block, const DecodeInput& input,
               std::vector<Axis>& axes) {
    const auto* table = dynamic_cast<const HwTableDatablock*>(&block);
    if (table == nullptr || table->columnCapacity() == 0) return;
    const std::uint32_t rows = std::min(table->rowsInUse(), table->rowCapacity());
    Axis axis{{input.view.quantity, input.view.unit}, std::vector<double>(rows)};
    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::optional<double> value =
            physicalOf(printedCell(*table, storedCell(*table, r, 0)), input.view);
        axis.values[r] = value ? *value : kUnknown;
    }
    axes.push_back(std::move(axis));
}

}  // namespace quenview
