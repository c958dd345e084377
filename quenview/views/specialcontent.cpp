// The classes with a layout of their own. Each is read through its class's
// accessors; the columns are the text's column headers, as data rows.

#include <algorithm>
#include <string>

#include "datablocks/catalogue/namedblocks.h"
#include "datablocks/catalogue/specialblocks.h"
#include "decoders.h"

namespace quenview {

namespace {

using namespace quenmap;

// The rows of a table whose rows are the companion's frequencies: as many
// as the companion counts, or every row the text writes when it is missing.
std::size_t frequencyRows(const DecodeInput& input, std::size_t capacity) {
    const Axis* axis = input.axis();
    return axis != nullptr ? std::min(capacity, axis->values.size()) : capacity;
}

std::vector<Quantity> namedColumns(const char* prefix, std::size_t count, const char* unit) {
    std::vector<Quantity> columns;
    columns.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        columns.push_back({prefix + std::to_string(k + 1), unit});
    }
    return columns;
}

template <typename Column, std::size_t N>
std::vector<Quantity> headerColumns(const Column (&columns)[N]) {
    std::vector<Quantity> quantities;
    quantities.reserve(N);
    for (const Column& column : columns) quantities.push_back({column.name, column.unit});
    return quantities;
}

bool charted(const DecodeInput& input) {
    return input.view.series != Series::None;
}

// ---- AM gain: four values per frequency ---------------------------------------

struct NamedColumn {
    const char* name;
    const char* unit;
    std::size_t column;  // in the block
};

const NamedColumn kAmGainColumns[] = {
    {"CW_GAIN", "", 0}, {"AM_GAIN", "", 1}, {"RESERVE1", "", 2}, {"RESERVE2", "", 3}};
static_assert(std::size(kAmGainColumns) == HwSDatablockCwOp3AmGainData::kColumns,
              "one column per value of an entry");

// The text's columns GAIN, DET OFFSET, REF OFFSET lie at +0, +16 and +8.
const NamedColumn kAduOffsetColumns[] = {
    {"GAIN", "", 0}, {"DET OFFSET", "", 2}, {"REF OFFSET", "", 1}};
static_assert(std::size(kAduOffsetColumns) == HwSDatablockAduGainOffsetCalData::kColumns,
              "one column per value of a record");

template <typename Block, std::size_t N>
void fillColumns(const Block& block, const NamedColumn (&columns)[N], const ViewRow& view,
                 Grid& grid) {
    for (std::size_t r = 0; r < grid.rows(); ++r) {
        for (std::size_t c = 0; c < N; ++c) {
            const double stored = block.value(r, columns[c].column);
            setCell(grid, r, c, physicalOf(stored, view), stored);
        }
    }
}

// ---- IQOP3 RFM, one operating state: two packed words per frequency -------------

struct PackedField {
    const char* name;
    const char* unit;
    bool wordB;
    std::uint8_t shift;
    std::uint8_t bits;
    // Attenuations: a two's-complement offset in 1/128 dB from the nominal
    // step; nominal 0 marks a plain unsigned field.
    double nominal;
};

const PackedField kStateFields[] = {
    {"LEVPRE", "", false, 0, 4, 0.0},       {"LEVATT15", "dB", true, 0, 10, 15.0},
    {"LEVATT30", "dB", true, 10, 11, 30.0}, {"LEVATT45", "dB", true, 21, 11, 45.0},
    {"DETATT", "", false, 4, 5, 0.0},       {"DETCONV_DEFLECTION", "", false, 9, 16, 0.0},
};
constexpr double kStepDb = 1.0 / 128.0;

double packedValue(std::uint32_t word, const PackedField& field, double& raw) {
    const std::uint32_t bits = (word >> field.shift) & ((1u << field.bits) - 1u);
    if (field.nominal == 0.0) {
        raw = bits;
        return raw;
    }
    const std::int32_t half = 1 << (field.bits - 1);
    const std::int32_t offset = static_cast<std::int32_t>(bits) >= half
                                    ? static_cast<std::int32_t>(bits) - 2 * half
                                    : static_cast<std::int32_t>(bits);
    raw = offset;
    return offset * kStepDb + field.nominal;
}

// ---- IQOP3 RFM, data version 2.0: fourteen values per frequency ------------------

enum class V20Field : std::uint8_t { Sensitivity, LevelPreset, Normal, Overrange };

struct V20Column {
    const char* name;
    const char* unit;
    V20Field field;
    std::uint8_t index;
};

// The order of the text's column header.
const V20Column kV20Columns[] = {
    {"SENS_LOW", "DAC/mW", V20Field::Sensitivity, 0},
    {"SENS_MED", "DAC/mW", V20Field::Sensitivity, 1},
    {"SENS_HIGH", "DAC/mW", V20Field::Sensitivity, 2},
    {"SENS_OVR", "DAC/mW", V20Field::Sensitivity, 3},
    {"LPRE_CW_NORM", "dB", V20Field::LevelPreset, 0},
    {"LPRE_CW_OVR", "dB", V20Field::LevelPreset, 1},
    {"LPRE_IQ_NORM", "dB", V20Field::LevelPreset, 2},
    {"LEVATT15_NORM", "dB", V20Field::Normal, 0},
    {"LEVATT30_NORM", "dB", V20Field::Normal, 1},
    {"LEVATT45_NORM", "dB", V20Field::Normal, 2},
    {"LPRE_IQ_OVR", "dB", V20Field::LevelPreset, 3},
    {"LEVATT15_OVR", "dB", V20Field::Overrange, 0},
    {"LEVATT30_OVR", "dB", V20Field::Overrange, 1},
    {"LEVATT45_OVR", "dB", V20Field::Overrange, 2},
};

double v20Value(const HwSDatablockIqOp3RfmCalibDataV20& block, std::size_t row,
                const V20Column& column) {
    switch (column.field) {
        case V20Field::Sensitivity:
            return block.sensitivity(row, column.index);
        case V20Field::LevelPreset:
            return block.levelPreset(row, column.index);
        case V20Field::Normal:
            return block.levelAttenuationNormal(row, column.index);
        case V20Field::Overrange:
            return block.levelAttenuationOverrange(row, column.index);
    }
    return 0.0;
}

// ---- IQOP3 RFM values per operating state -------------------------------------------

enum class StateVector : std::uint8_t {
    BasebandVoltage,
    MaximumPower,
    LconReserve,
    DetectorReserve
};

struct StateColumn {
    const char* name;
    const char* unit;
    StateVector vector;
    double offset;  // physical = (stored + offset) * scale
    double scale;
};

// The maximum power is printed as (stored - 0.5) / 128; the LCON reserve is
// kept in 1/128 dB (its text prints the stored number).
const StateColumn kStateColumns[] = {
    {"UIQ_BZ", "V", StateVector::BasebandVoltage, 0.0, 1.0},
    {"PMAX_BZ", "dBm", StateVector::MaximumPower, -0.5, kStepDb},
    {"LCON_RESERVE_BZ", "dB", StateVector::LconReserve, 0.0, kStepDb},
    {"DET_RESERVE_BZ", "dB", StateVector::DetectorReserve, 0.0, 1.0},
};

double stateStored(const HwDatablockIqOp3RfmCalibDataMisc& block, std::size_t state,
                   StateVector vector) {
    switch (vector) {
        case StateVector::BasebandVoltage:
            return block.basebandVoltage(state);
        case StateVector::MaximumPower:
            return block.maximumPower(state);
        case StateVector::LconReserve:
            return block.lconReserve(state);
        case StateVector::DetectorReserve:
            return block.detectorReserve(state);
    }
    return 0.0;
}

// Tolerances, kept in 1/128 dB.
Field toleranceField(const char* name, std::uint16_t stored) {
    return numberField(name, "dB", stored * kStepDb, stored);
}

}  // namespace

void decodeAmGain(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* gains = dynamic_cast<const HwSDatablockCwOp3AmGainData*>(&block);
    if (gains == nullptr) return;
    Grid grid = makeGrid(input.view.quantity, headerColumns(kAmGainColumns),
                         frequencyRows(input, gains->rowCapacity()), charted(input), input.axis());
    fillColumns(*gains, kAmGainColumns, input.view, grid);
    out.grids.push_back(std::move(grid));
}

void decodeAduOffset(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* offsets = dynamic_cast<const HwSDatablockAduGainOffsetCalData*>(&block);
    if (offsets == nullptr) return;
    const std::size_t rows = std::min<std::size_t>(offsets->count(), offsets->rowCapacity());
    Grid grid = makeGrid("offset calibration", headerColumns(kAduOffsetColumns), rows,
                         charted(input), nullptr);
    fillColumns(*offsets, kAduOffsetColumns, input.view, grid);
    out.grids.push_back(std::move(grid));
}

void decodeRfmState(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* table = dynamic_cast<const HwSDatablockIqOp3RfmCalibData*>(&block);
    if (table == nullptr) return;
    out.fields.push_back(numberField("BZ", "", table->stateNumber(), table->stateNumber()));
    Grid grid = makeGrid("operating state " + std::to_string(table->stateNumber()),
                         headerColumns(kStateFields), frequencyRows(input, table->rowCapacity()),
                         charted(input), input.axis());
    for (std::size_t r = 0; r < grid.rows(); ++r) {
        const std::uint32_t words[2] = {table->wordA(r), table->wordB(r)};
        for (std::size_t c = 0; c < std::size(kStateFields); ++c) {
            const PackedField& field = kStateFields[c];
            double raw = 0.0;
            const double value = packedValue(words[field.wordB ? 1 : 0], field, raw);
            setCell(grid, r, c, value, raw);
        }
    }
    out.grids.push_back(std::move(grid));
}

void decodeRfmV20(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* table = dynamic_cast<const HwSDatablockIqOp3RfmCalibDataV20*>(&block);
    if (table == nullptr) return;
    Grid grid = makeGrid("calibration data version 2.0", headerColumns(kV20Columns),
                         frequencyRows(input, HwSDatablockIqOp3RfmCalibDataV20::kRows),
                         charted(input), input.axis());
    for (std::size_t r = 0; r < grid.rows(); ++r) {
        for (std::size_t c = 0; c < std::size(kV20Columns); ++c) {
            const double stored = v20Value(*table, r, kV20Columns[c]);
            setCell(grid, r, c, finite(stored), stored);
        }
    }
    out.grids.push_back(std::move(grid));
}

void decodeRfmMisc(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const auto* misc = dynamic_cast<const HwDatablockIqOp3RfmCalibDataMisc*>(&block);
    if (misc == nullptr) return;
    const std::uint32_t states = misc->stateCount();
    const double fullScale = misc->detectorFullScale();
    out.fields = {
        numberField("COUNT_BZ", "", states, states),
        numberField("DET_FULL_SCALE", "V", finite(fullScale), fullScale),
        toleranceField("TOLERANZ_LEVPRE", misc->levelPresetTolerance()),
        toleranceField("TOLERANZ_LEVATT_15", misc->levelAttenuator15Tolerance()),
        toleranceField("TOLERANZ_LEVATT_30_45", misc->levelAttenuator30And45Tolerance()),
        toleranceField("TOLERANZ_DETATT", misc->detectorAttenuatorTolerance()),
    };
    const std::size_t rows =
        std::min<std::size_t>(states, HwDatablockIqOp3RfmCalibDataMisc::kStates);
    Grid grid =
        makeGrid("operating states", headerColumns(kStateColumns), rows, charted(input), nullptr);
    grid.x = {"operating state", ""};
    for (std::size_t s = 0; s < rows; ++s) {
        for (std::size_t c = 0; c < std::size(kStateColumns); ++c) {
            const StateColumn& column = kStateColumns[c];
            const double stored = stateStored(*misc, s, column.vector);
            setCell(grid, s, c, finite((stored + column.offset) * column.scale), stored);
        }
    }
    out.grids.push_back(std::move(grid));
}

void decodeIqOp6Calib(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    using Table = HwDatablockIqOp6CalibData;
    const auto* table = dynamic_cast<const Table*>(&block);
    if (table == nullptr) return;
    // The states of a row are counted by the reference levels' block; the
    // text writes every state slot when it is missing.
    std::size_t states = Table::kStates;
    const BlockType& levels = blockType(BlockKind::IqOp6PmaxBz);
    if (const auto* stateCount = dynamic_cast<const CatalogueBlock*>(
            input.companions ? input.companions(levels.baseId) : nullptr)) {
        states = std::min<std::size_t>(states, stateCount->count());
    }
    std::vector<Quantity> columns = {{"LEVATT_20", ""}, {"LEVATT_40", ""}};
    for (std::size_t s = 0; s < states; ++s) {
        columns.push_back({"DAWERT BZ" + std::to_string(s + 1), ""});
    }
    Grid grid = makeGrid("DAWERT calibration", std::move(columns),
                         frequencyRows(input, Table::kRows), charted(input), input.axis());
    for (std::size_t r = 0; r < grid.rows(); ++r) {
        setCell(grid, r, 0, table->levelAttenuation20(r), table->levelAttenuation20(r));
        setCell(grid, r, 1, table->levelAttenuation40(r), table->levelAttenuation40(r));
        for (std::size_t s = 0; s < states; ++s) {
            setCell(grid, r, 2 + s, table->dacValue(s, r), table->dacValue(s, r));
        }
    }
    out.grids.push_back(std::move(grid));
}

void decodeLowpass(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    using Response = HwLowpassResponseBlock;
    const auto* response = dynamic_cast<const Response*>(&block);
    if (response == nullptr) return;
    // The text labels rows "LP" n "IQPEP" q and the type's letter (A or P).
    const std::string name = input.type.textName;
    const char letter = name.size() > 3 && name.compare(name.size() - 3, 3, "_PH") == 0 ? 'P' : 'A';
    for (std::size_t n = 0; n < Response::kLowpasses; ++n) {
        const std::size_t rows =
            std::min<std::size_t>(response->countField(n), Response::kRowsPerLevel);
        for (std::size_t q = 0; q < Response::kLevels; ++q) {
            Grid grid =
                makeGrid("LP" + std::to_string(n + 1) + "IQPEP" + std::to_string(q + 1) + letter,
                         namedColumns("value ", Response::kValuesPerRow, input.view.unit), rows,
                         charted(input), input.axis(n));
            for (std::size_t i = 0; i < rows; ++i) {
                for (std::size_t k = 0; k < Response::kValuesPerRow; ++k) {
                    const double stored = response->sample(n, q, i, k);
                    setCell(grid, i, k, physicalOf(stored, input.view), stored);
                }
            }
            out.grids.push_back(std::move(grid));
        }
    }
}

void decodeAttResponse(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    using Response = HwSDatablockMbrdRfResponseAttAmpl;
    const auto* response = dynamic_cast<const Response*>(&block);
    if (response == nullptr) return;
    // Each attenuator holds entries of two values.
    constexpr std::size_t kValues = 2;
    const std::size_t entries =
        std::min<std::size_t>(response->count(), response->columnCapacity() / kValues);
    for (std::size_t a = 0; a < response->rowCapacity(); ++a) {
        Grid grid = makeGrid("ATT" + std::to_string(a + 1),
                             namedColumns("value ", kValues, input.view.unit), entries,
                             charted(input), input.axis());
        for (std::size_t i = 0; i < entries; ++i) {
            for (std::size_t k = 0; k < kValues; ++k) {
                const double stored = response->value(a, kValues * i + k);
                setCell(grid, i, k, physicalOf(stored, input.view), stored);
            }
        }
        out.grids.push_back(std::move(grid));
    }
}

void decodeDetLinCorr(const HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    using Correction = HwSDatablockCwopDetLinCorrData;
    const auto* correction = dynamic_cast<const Correction*>(&block);
    if (correction == nullptr) return;
    const std::size_t steps =
        std::min<std::size_t>(correction->countField(0), correction->rowCapacity());
    const std::size_t pairs = std::min<std::size_t>(correction->countField(1), Correction::kPairs);
    std::vector<Quantity> columns;
    columns.reserve(2 * steps);
    for (std::size_t s = 0; s < steps; ++s) {
        columns.push_back({"step " + std::to_string(s) + " level", input.view.unit});
        columns.push_back({"step " + std::to_string(s) + " correction", input.view.unit});
    }
    Grid grid = makeGrid("detector linearity correction", std::move(columns), pairs, charted(input),
                         input.axis());
    for (std::size_t p = 0; p < pairs; ++p) {
        for (std::size_t s = 0; s < steps; ++s) {
            const double level = correction->level(s, p);
            const double corrected = correction->correction(s, p);
            setCell(grid, p, 2 * s, physicalOf(level, input.view), level);
            setCell(grid, p, 2 * s + 1, physicalOf(corrected, input.view), corrected);
        }
    }
    out.grids.push_back(std::move(grid));
}

}  // namespace quenview
