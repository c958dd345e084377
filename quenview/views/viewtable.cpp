#include "viewtable.h"

#include <array>
#include <cstddef>

namespace quenview {

namespace {

using quenmap::BlockKind;

const ViewRow kViewRows[] = {
#define QM_VIEW(kind, form, series, instance, companion, quantity, unit, scale) \
    {BlockKind::kind,                                                           \
     Form::form,                                                                \
     Series::series,                                                            \
     InstanceKind::instance,                                                    \
     BlockKind::companion,                                                      \
     quantity,                                                                  \
     unit,                                                                      \
     scale,                                                                     \
     0.0,                                                                       \
     std::nullopt,                                                              \
     0,                                                                         \
     RowNames::Numbered,                                                        \
     CellOverride::None,                                                        \
     nullptr},
#define QM_VIEW_MATRIX(kind, instance, companion, quantity, unit, scale, offset, noValue, rows, \
                       names, cell, lead)                                                       \
    {BlockKind::kind,                                                                           \
     Form::Matrix,                                                                              \
     Series::Matrix,                                                                            \
     InstanceKind::instance,                                                                    \
     BlockKind::companion,                                                                      \
     quantity,                                                                                  \
     unit,                                                                                      \
     scale,                                                                                     \
     offset,                                                                                    \
     noValue,                                                                                   \
     rows,                                                                                      \
     RowNames::names,                                                                           \
     CellOverride::cell,                                                                        \
     lead},
#include "viewcatalogue.def"
};

constexpr std::size_t kKinds = static_cast<std::size_t>(BlockKind::Count);

// The row of each kind by its number, built once.
const std::array<const ViewRow*, kKinds>& rowsByKind() {
    static const std::array<const ViewRow*, kKinds> index = [] {
        std::array<const ViewRow*, kKinds> rows{};
        for (const ViewRow& row : kViewRows) {
            const auto at = static_cast<std::size_t>(row.kind);
            if (at < kKinds && rows[at] == nullptr) rows[at] = &row;
        }
        return rows;
    }();
    return index;
}

}  // namespace

const ViewRow* viewRowFor(BlockKind kind) {
    const auto at = static_cast<std::size_t>(kind);
    return at < kKinds ? rowsByKind()[at] : nullptr;
}

const ViewRow* viewRowsBegin() {
    return std::begin(kViewRows);
}

const ViewRow* viewRowsEnd() {
    return std::end(kViewRows);
}

bool hasSeries(const quenmap::BlockType& type) {
    const ViewRow* row = viewRowFor(type.kind);
    return row != nullptr && row->series != Series::None;
}

std::optional<std::uint16_t> companionIdOf(const quenmap::BlockType& type, std::uint16_t id) {
    const ViewRow* row = viewRowFor(type.kind);
    if (row == nullptr || row->companion == BlockKind::Count) return std::nullopt;
    const quenmap::BlockType& companion = quenmap::blockType(row->companion);
    // A companion with paths of its own belongs to the same path.
    if (companion.instances > 1 && id >= type.baseId) {
        const std::uint32_t instance = id - type.baseId;
        if (instance < companion.instances) {
            return static_cast<std::uint16_t>(companion.baseId + instance);
        }
    }
    return companion.baseId;
}

}  // namespace quenview
