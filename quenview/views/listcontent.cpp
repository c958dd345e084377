// Counted lists and matrices of the catalogue families. Their element types,
// capacities and offsets are the catalogue's rows; their counts the block's
// own count fields.

#include <algorithm>
#include <string>

#include "datablocks/blockcatalogue.h"
#include "datablocks/catalogue/specialblocks.h"
#include "datablocks/families/catalogueblock.h"
#include "decoders.h"
#include "text/layouts/valuelayout.h"

namespace quenview {

namespace {

using quenmap::BlockKind;

// Where the values of a list (one row) or a matrix lie.
struct Structure {
    BlockKind kind;
    Cell cell;
    std::uint32_t rows;
    std::uint32_t columns;  // the capacity of a list
    std::size_t offset;
};

using DacValues = quenmap::HwSDatablockCwop3DetTuneDac;
using LargeLevels = quenmap::HwSDatablockMbrdExtLevCalData2Edition_Enh;

const Structure kStructures[] = {
#define QM_BLOCK(kind, cls, text, base, instances, size)
#define QM_REFERENCE(kind, cls, text, id, count, detail, acceptsUnchecked)
#define QM_LIST(kind, cls, text, base, instances, count, element, capacity, offset) \
    {BlockKind::kind, cellOf<element>(), 1, capacity, offset},
#define QM_MATRIX(kind, cls, text, base, instances, count, element, rows, columns, offset) \
    {BlockKind::kind, cellOf<element>(), rows, columns, offset},
#include "datablocks/blockcatalogue.def"
    // Classes of their own that are a matrix, and a list the text writes as
    // a matrix of one row.
    {BlockKind::MbrdExtLevCalData2Edition_Enh, cellOf<LargeLevels::ElementType>(),
     LargeLevels::kRows, LargeLevels::kColumns, LargeLevels::kElementOffset},
    {BlockKind::Cwop3DetTuneDac, cellOf<DacValues::ElementType>(), 1, DacValues::kCapacity,
     DacValues::kElementOffset},
};

const Structure* structureOf(BlockKind kind) {
    for (const Structure& structure : kStructures) {
        if (structure.kind == kind) return &structure;
    }
    return nullptr;
}

// The factor by which the list's text writer turns the stored number into
// the printed one (10 Hz, 100 Hz and MHz units are printed in Hz).
double textScaleOf(std::uint16_t id) {
    for (const quenmap::ListLayout& row : quenmap::listLayouts()) {
        if (id < row.baseId || id - row.baseId >= row.instances) continue;
        switch (row.scale) {
            case quenmap::Scale::Hz10:
                return 10.0;
            case quenmap::Scale::Hz100:
                return 100.0;
            case quenmap::Scale::MHz:
                return 1e6;
            default:
                return 1.0;
        }
    }
    return 1.0;
}

Cell viewedCell(const Structure& structure, const ViewRow& view) {
    switch (view.cell) {
        case CellOverride::I16:
            return Cell::I16;
        case CellOverride::U8:
            return Cell::U8;
        case CellOverride::None:
            break;
    }
    return structure.cell;
}

std::optional<double> valueOf(double stored, double printed, const ViewRow& view) {
    if (view.noValue && stored == *view.noValue) return std::nullopt;
    return physicalOf(printed, view);
}

const quenmap::CatalogueBlock* catalogueBlock(const quenmap::HwDatablock& block) {
    return dynamic_cast<const quenmap::CatalogueBlock*>(&block);
}

std::string matrixRowName(RowNames names, std::size_t row) {
    if (names == RowNames::Attenuation) return "attenuation " + std::to_string(5 * row) + " dB";
    return "row " + std::to_string(row);
}

// Calls part(index, offset, count) for each counted list of a list block:
// one, or nine for the lowpass frequencies. False for a block of another class.
template <typename Part>
bool forEachCountedList(const quenmap::HwDatablock& block, const DecodeInput& input, Cell& cell,
                        double& textScale, Part part) {
    const Structure* structure = structureOf(input.type.kind);
    const quenmap::CatalogueBlock* list = catalogueBlock(block);
    if (structure == nullptr || list == nullptr) return false;
    cell = structure->cell;
    textScale = textScaleOf(block.id());
    if (input.view.form == Form::NineLists) {
        const std::size_t stride = structure->columns * cellWidth(structure->cell);
        for (std::size_t n = 0; n < structure->rows; ++n) {
            part(n, structure->offset + n * stride,
                 std::min<std::size_t>(list->countField(n), structure->columns));
        }
    } else {
        part(0, structure->offset,
             list->countKind() == quenmap::CountKind::None
                 ? structure->columns
                 : std::min<std::size_t>(list->count(), structure->columns));
    }
    return true;
}

// Calls value(i, physical, stored) for each of count values from offset on.
template <typename Value>
void forEachValue(const quenmap::Bytes& bytes, std::size_t offset, Cell cell, std::size_t count,
                  double textScale, const ViewRow& view, Value value) {
    const std::size_t width = cellWidth(cell);
    for (std::size_t i = 0; i < count; ++i) {
        const double stored = readStored(bytes, offset + i * width, cell);
        value(i, valueOf(stored, stored * textScale, view), stored);
    }
}

}  // namespace

void decodeList(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const ViewRow& view = input.view;
    Cell cell = Cell::U8;
    double textScale = 1.0;
    forEachCountedList(
        block, input, cell, textScale, [&](std::size_t n, std::size_t offset, std::size_t count) {
            std::string title =
                view.form == Form::NineLists ? "lowpass " + std::to_string(n + 1) : view.quantity;
            Grid grid = makeGrid(std::move(title), quantityColumn(view), count,
                                 view.series != Series::None, input.axis(n));
            forEachValue(block.bytes(), offset, cell, count, textScale, view,
                         [&](std::size_t i, std::optional<double> value, double stored) {
                             setCell(grid, i, 0, value, stored);
                         });
            out.grids.push_back(std::move(grid));
        });
}

void listAxes(const quenmap::HwDatablock& block, const DecodeInput& input,
              std::vector<Axis>& axes) {
    Cell cell = Cell::U8;
    double textScale = 1.0;
    forEachCountedList(
        block, input, cell, textScale, [&](std::size_t, std::size_t offset, std::size_t count) {
            Axis axis{{input.view.quantity, input.view.unit}, std::vector<double>(count)};
            forEachValue(block.bytes(), offset, cell, count, textScale, input.view,
                         [&](std::size_t i, std::optional<double> value, double) {
                             axis.values[i] = value ? *value : kUnknown;
                         });
            axes.push_back(std::move(axis));
        });
}

void decodeMatrix(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const Structure* structure = structureOf(input.type.kind);
    const quenmap::CatalogueBlock* matrix = catalogueBlock(block);
    if (structure == nullptr || matrix == nullptr) return;
    const ViewRow& view = input.view;
    const quenmap::Bytes& bytes = block.bytes();
    const Cell cell = viewedCell(*structure, view);
    const std::size_t width = cellWidth(cell);
    const std::size_t rowBytes = std::size_t(structure->columns) * width;

    // A block built with fewer rows than its type allows holds only those.
    std::size_t rows =
        bytes.size() > structure->offset
            ? std::min<std::size_t>(structure->rows, (bytes.size() - structure->offset) / rowBytes)
            : 0;
    if (view.rowsShown != 0) {
        rows = std::min<std::size_t>(rows, view.rowsShown);
    } else if (matrix->countKind() != quenmap::CountKind::None) {
        rows = std::min<std::size_t>(rows, matrix->countField(0));
    }
    // The columns are the companion's frequencies: as many as it counts,
    // unless the block counts its columns itself.
    const Axis* axis = input.axis();
    std::size_t columns = structure->columns;
    if (matrix->countKind() == quenmap::CountKind::U16Dims) {
        columns = std::min<std::size_t>(columns, matrix->countField(1));
    } else if (axis != nullptr) {
        columns = std::min(columns, axis->values.size());
    }

    if (view.leadField != nullptr) {
        const double lead =
            static_cast<std::int16_t>(quenmap::readU16(bytes, quenmap::kCountOffset));
        out.fields.push_back(numberField(view.leadField, "", lead, lead));
    }
    std::vector<Quantity> curves;
    curves.reserve(rows);
    for (std::size_t r = 0; r < rows; ++r)
        curves.push_back({matrixRowName(view.rowNames, r), view.unit});
    Grid grid =
        makeGrid(view.quantity, std::move(curves), columns, view.series != Series::None, axis);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t rowOffset = structure->offset + r * rowBytes;
        for (std::size_t c = 0; c < columns; ++c) {
            const double stored = readStored(bytes, rowOffset + c * width, cell);
            setCell(grid, c, r, valueOf(stored, stored, view), stored);
        }
    }
    out.grids.push_back(std::move(grid));
}

}  // namespace quenview
