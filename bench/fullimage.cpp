#include "fullimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "datablocks/blockcatalogue.h"
#include "datablocks/families/layout.h"
#include "datablocks/tables/hwtabledatablock.h"

namespace quenmap::bench {

namespace {

template <typename T>
constexpr Fill fillOf() {
    if constexpr (std::is_same_v<T, std::int8_t>) return Fill::I8;
    if constexpr (std::is_same_v<T, std::uint8_t>) return Fill::U8;
    if constexpr (std::is_same_v<T, std::int16_t>) return Fill::I16;
    if constexpr (std::is_same_v<T, std::uint16_t>) return Fill::U16;
    if constexpr (std::is_same_v<T, std::int32_t>) return Fill::I32;
    if constexpr (std::is_same_v<T, std::uint32_t>) return Fill::U32;
    if constexpr (std::is_same_v<T, float>) return Fill::F32;
    return Fill::F64;
}

std::size_t widthOf(Fill fill) {
    switch (fill) {
        case Fill::I8:
        case Fill::U8:
        case Fill::Text:
            return 1;
        case Fill::I16:
        case Fill::U16:
            return 2;
        case Fill::I32:
        case Fill::U32:
        case Fill::F32:
        case Fill::RowNumber:
            return 4;
        case Fill::F64:
            return 8;
    }
    return 1;
}

// The list and matrix rows of the catalogue, read from its definition file.
struct FamilyRow {
    std::uint16_t baseId;
    std::uint16_t instances;
    CountKind countKind;
    Fill fill;
    std::uint32_t rows;  // 1 for a list
    std::uint32_t columns;
    std::size_t offset;
    bool reference;
};

// clang-format off
const FamilyRow kFamilyRows[] = {
#define QM_BLOCK(kind, cls, text, base, instances, size)
#define QM_LIST(kind, cls, text, base, instances, count, element, capacity, offset) \
    {base, instances, CountKind::count, fillOf<element>(), 1, capacity, offset, false},
#define QM_MATRIX(kind, cls, text, base, instances, count, element, rows, columns, offset) \
    {base, instances, CountKind::count, fillOf<element>(), rows, columns, offset, false},
#define QM_REFERENCE(kind, cls, text, id, count, detail, acceptsUnchecked) \
    {id, 1, CountKind::count, Fill::U32, 1, 1, 12, true},
#include "datablocks/blockcatalogue.def"
};
// clang-format on

const FamilyRow* familyRowOf(std::uint16_t id) {
    for (const FamilyRow& row : kFamilyRows) {
        if (id >= row.baseId && id - row.baseId < row.instances) return &row;
    }
    return nullptr;
}

Fill fillOfCell(CellType cell) {
    switch (cell) {
        case CellType::U8:
            return Fill::U8;
        case CellType::I16:
            return Fill::I16;
        case CellType::U16:
            return Fill::U16;
        case CellType::I32:
            return Fill::I32;
        case CellType::U32:
            return Fill::U32;
        case CellType::F32:
            return Fill::F32;
        case CellType::F64:
            return Fill::F64;
    }
    return Fill::I32;
}

// The count fields of a list or matrix row: what its writer takes as the
// number of values, rows or columns to print.
void familyCounts(const FamilyRow& row, FillPlan& plan) {
    const std::uint32_t rows = row.rows;
    const std::uint32_t columns = row.columns;
    switch (row.countKind) {
        case CountKind::None:
            break;
        case CountKind::U8:
            plan.counts.push_back({8, 1, row.reference ? 1u : rows * columns});
            break;
        case CountKind::U16:
            // Matrices count their rows, lists their values.
            plan.counts.push_back({8, 2, rows > 1 ? rows : columns});
            break;
        case CountKind::U32:
            if (row.reference) {
                plan.counts.push_back({8, 4, 1});
            } else if (row.baseId == 12270) {
                // Six attenuators of 200 entries of two values: 200 entries.
                plan.counts.push_back({8, 4, columns / 2});
            } else {
                plan.counts.push_back({8, 4, rows > 1 ? rows : columns});
            }
            break;
        case CountKind::U16Pair:
            plan.counts.push_back({8, 2, rows});
            plan.counts.push_back({10, 2, columns});
            break;
        case CountKind::U16Dims:
            plan.counts.push_back({8, 2, rows});
            plan.counts.push_back({12, 2, columns});
            break;
        case CountKind::U32Nine:
            for (std::size_t n = 0; n < 9; ++n) plan.counts.push_back({8 + 4 * n, 4, columns});
            break;
    }
}

std::string exampleFileNames[] = {"mbrd.bin",   "stereocoder.bin", "dacif.bin", "dacboard.bin",
                                  "det.bin",    "babo.bin",        "bbins.bin", "adu.bin",
                                  "clksyn.bin", "bbgen.bin",       "att13.bin", "iqop6.bin"};

}  // namespace

void sealBlock(Bytes& bytes) {
    if (bytes.size() < kHeaderSize) return;
    bytes[4] = 0;
    bytes[5] = 0;
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        sum = static_cast<std::uint16_t>(sum + (bytes[i] | (bytes[i + 1] << 8)));
    }
    writeU16(bytes, 4, static_cast<std::uint16_t>(0x10000u - sum));
}

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

ImageFactory::ImageFactory(std::string examplesDir, unsigned seed)
    : examplesDir_(std::move(examplesDir)), random_(seed) {
    // The first block of every id in the examples.
    for (const std::string& name : exampleFileNames) {
        Bytes file = readFileBytes(examplesDir_ + "/" + name);
        std::size_t at = 0;
        while (at + 4 <= file.size()) {
            const std::uint16_t id = readU16(file, at);
            const std::uint16_t length = readU16(file, at + 2);
            if (id == kEndBlockId || length < kHeaderSize || at + length > file.size()) break;
            const bool known = std::any_of(examples_.begin(), examples_.end(),
                                           [id](const auto& entry) { return entry.first == id; });
            if (!known) {
                examples_.emplace_back(id, Bytes(file.begin() + static_cast<long>(at),
                                                 file.begin() + static_cast<long>(at + length)));
            }
            at += length;
        }
    }
}

const Bytes& ImageFactory::exampleBlock(std::uint16_t id) const {
    static const Bytes none;
    for (const auto& entry : examples_) {
        if (entry.first == id) return entry.second;
    }
    return none;
}

bool ImageFactory::planFor(std::uint16_t id, FillPlan& plan) const {
    plan = FillPlan{};
    const BlockType* type = blockTypeForId(id);
    if (type == nullptr) return false;
    plan.size = type->size;

    // Records with names and dates: as the examples carry them. The stream
    // idents hold the ident record.
    const std::uint16_t exampleId = (id == 10503 || id == 10504) ? 2 : id;
    if (id == 2 || id == 10 || id == 100 || (id >= 200 && id <= 209) || id == 300 || id == 10503 ||
        id == 10504) {
        plan.templateBytes = exampleBlock(exampleId);
        return !plan.templateBytes.empty();
    }

    if (const TableDescriptor* table = findTableDescriptor(type->kind)) {
        const TableShape& shape = table->shape;
        plan.size = shape.blockSize();
        plan.counts.push_back({kTableRowsOffset, 4, shape.rows});
        plan.counts.push_back({kTableColumnsOffset, 4, shape.columns});
        plan.regions.push_back(
            {kTableCellsOffset, fillOfCell(shape.cell), std::size_t(shape.rows) * shape.columns});
        if (shape.trailer == TableTrailer::RowLabels) {
            plan.regions.push_back({shape.trailerOffset(), Fill::RowNumber, shape.rows});
        } else if (shape.trailer == TableTrailer::UserEntries) {
            plan.regions.push_back({shape.trailerOffset(), Fill::I32, shape.trailerSize() / 4});
        }
        return true;
    }

    // The classes with fields of their own.
    switch (type->baseId) {
        case 10502:  // VCO ident: job number, eight ident fields
            plan.regions = {{8, Fill::U32, 1}, {12, Fill::U16, 8}};
            return true;
        case 10301:  // RFM values per state
            plan.regions = {
                {8, Fill::U16, 4}, {16, Fill::F32, 1}, {24, Fill::F32, 24}, {120, Fill::U16, 24}};
            plan.counts.push_back({20, 4, 12});
            return true;
        case 10303:  // RFM table of one state: the state number, 300 packed rows
            plan.regions = {{12, Fill::U32, 600}};
            plan.counts.push_back({8, 4, 8});
            return true;
        case 10315:  // RFM values, data version 2.0
            plan.regions = {{8, Fill::F32, 25}, {108, Fill::I16, 4}};
            return true;
        case 10316:  // RFM table, data version 2.0: rows of floats and presets
            for (std::size_t row = 0; row < 300; ++row) {
                const std::size_t at = 8 + 48 * row;
                plan.regions.push_back({at, Fill::F32, 4});
                plan.regions.push_back({at + 16, Fill::I16, 4});
                plan.regions.push_back({at + 24, Fill::F32, 6});
            }
            return true;
        case 10902:  // IQOP6 table: two attenuations per row, a DAC value per state and row
            plan.regions = {{8, Fill::U8, 140}, {148, Fill::U16, 32 * 70}};
            return true;
        case 11300:  // SATTC counters
            plan.regions = {{8, Fill::U32, 2}};
            return true;
        case 12001:  // generator model name
            plan.regions = {{8, Fill::Text, 31}};
            return true;
        case 12095:  // external level calibration, 13 rows of 500
            plan.size = 13012;
            plan.regions = {{12, Fill::I16, 13 * 500}};
            plan.counts.push_back({8, 2, 13});
            return true;
        case 12200:  // detector tune DAC values: one row of 100 16-bit values
            plan.regions = {{12, Fill::U16, 200}};
            plan.counts.push_back({8, 2, 1});
            return true;
        case 12230:  // lowpass responses: 9 lowpasses, 4 levels, 150 rows of 4
        case 12240:
            plan.regions = {{44, Fill::I8, 9 * 4 * 150 * 4}};
            for (std::size_t n = 0; n < 9; ++n) plan.counts.push_back({8 + 4 * n, 4, 150});
            return true;
        case 12292:  // detector linearity: 10 steps of 50 (level, correction) pairs
            plan.regions = {{12, Fill::I32, 10 * 100}};
            plan.counts = {{8, 2, 10}, {10, 2, 50}};
            return true;
        default:
            break;
    }

    if (const FamilyRow* row = familyRowOf(id)) {
        const std::size_t values = std::size_t(row->rows) * row->columns;
        plan.regions.push_back({row->offset, row->fill, values});
        familyCounts(*row, plan);
        return true;
    }
    return false;
}

void ImageFactory::fillRegion(Bytes& bytes, const Region& region) {
    const std::size_t width = widthOf(region.fill);
    std::uniform_int_distribution<int> smallInt(-20000, 20000);
    std::uniform_int_distribution<std::uint32_t> frequency(100000u, 600000000u);
    std::uniform_int_distribution<std::int32_t> largeInt(-10000000, 10000000);
    std::uniform_real_distribution<double> real(-1000.0, 1000.0);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> letter('A', 'Z');
    for (std::size_t i = 0; i < region.count; ++i) {
        const std::size_t at = region.offset + i * width;
        if (at + width > bytes.size()) return;
        switch (region.fill) {
            case Fill::I8:
            case Fill::U8:
                bytes[at] = static_cast<std::uint8_t>(byte(random_));
                break;
            case Fill::Text:
                bytes[at] = static_cast<std::uint8_t>(letter(random_));
                break;
            case Fill::I16:
                writeU16(bytes, at, static_cast<std::uint16_t>(smallInt(random_)));
                break;
            case Fill::U16:
                writeU16(bytes, at, static_cast<std::uint16_t>(smallInt(random_) + 20000));
                break;
            case Fill::I32:
                writeU32(bytes, at, static_cast<std::uint32_t>(largeInt(random_)));
                break;
            case Fill::U32:
                writeU32(bytes, at, frequency(random_));
                break;
            case Fill::RowNumber:
                writeU32(bytes, at, static_cast<std::uint32_t>(i + 1));
                break;
            case Fill::F32: {
                const float value = static_cast<float>(std::round(real(random_) * 1000.0) / 1000.0);
                std::uint32_t raw;
                std::memcpy(&raw, &value, sizeof raw);
                writeU32(bytes, at, raw);
                break;
            }
            case Fill::F64: {
                const double value = std::round(real(random_) * 1000.0) / 1000.0;
                std::uint64_t raw;
                std::memcpy(&raw, &value, sizeof raw);
                writeU32(bytes, at, static_cast<std::uint32_t>(raw));
                writeU32(bytes, at + 4, static_cast<std::uint32_t>(raw >> 32));
                break;
            }
        }
    }
}

Bytes ImageFactory::build(std::uint16_t id, double fraction, bool hugeCounts) {
    FillPlan plan;
    if (!planFor(id, plan)) return {};
    Bytes bytes;
    if (!plan.templateBytes.empty()) {
        bytes = plan.templateBytes;
    } else {
        bytes.assign(plan.size, 0);
        for (const Region& region : plan.regions) fillRegion(bytes, region);
        for (const CountField& count : plan.counts) {
            std::uint64_t value =
                static_cast<std::uint64_t>(std::lround(count.capacity * fraction));
            value = std::max<std::uint64_t>(value, 1);
            if (hugeCounts) {
                value = std::min<std::uint64_t>((std::uint64_t{1} << (8 * count.width)) - 1,
                                                4 * std::uint64_t{count.capacity} + 3);
            }
            for (std::size_t b = 0; b < count.width; ++b) {
                bytes[count.offset + b] = static_cast<std::uint8_t>(value >> (8 * b));
            }
        }
    }
    writeU16(bytes, 0, id);
    writeU16(bytes, 2, static_cast<std::uint16_t>(bytes.size()));
    sealBlock(bytes);
    return bytes;
}

Bytes ImageFactory::blockImage(std::uint16_t id, double fraction) {
    return build(id, fraction, false);
}

Bytes ImageFactory::blockImageWithHugeCounts(std::uint16_t id) {
    return build(id, 1.0, true);
}

Bytes ImageFactory::image(const std::vector<std::uint16_t>& ids, double fraction, bool withEnd) {
    Bytes result;
    for (std::uint16_t id : ids) {
        Bytes block = blockImage(id, fraction);
        result.insert(result.end(), block.begin(), block.end());
    }
    if (withEnd) result.insert(result.end(), {0xFF, 0xFF, 0x00, 0x00});
    return result;
}

}  // namespace quenmap::bench
