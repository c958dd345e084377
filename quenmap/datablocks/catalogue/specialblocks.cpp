#include "specialblocks.h"

namespace quenmap {

namespace {

template <typename Block>
std::unique_ptr<HwDatablock> makeInstance(std::uint32_t instance, std::uint8_t flag) {
    return std::make_unique<Block>(instance, flag);
}

}  // namespace

// --- VCO ident ---------------------------------------------------------------

HwDatablockCwop6VcoIdent::HwDatablockCwop6VcoIdent(std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kId, 0, kSize, 8) {}

std::uint16_t HwDatablockCwop6VcoIdent::identField(std::size_t index) const {
    return index < kFieldCount ? field<std::uint16_t>(12 + 2 * index) : 0;
}

void HwDatablockCwop6VcoIdent::setIdentField(std::uint16_t value, std::size_t index) {
    if (index < kFieldCount) setField<std::uint16_t>(12 + 2 * index, value);
}

// --- IQOP3 RFM misc ----------------------------------------------------------

namespace {
constexpr std::size_t kMaximumPowerOffset = 24;
constexpr std::size_t kBasebandVoltageOffset = 72;
constexpr std::size_t kLconReserveOffset = 120;
constexpr std::size_t kDetectorReserveOffset = 144;
}  // namespace

HwDatablockIqOp3RfmCalibDataMisc::HwDatablockIqOp3RfmCalibDataMisc(std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kId, 0, kSize, 8) {}

float HwDatablockIqOp3RfmCalibDataMisc::maximumPower(std::size_t state) const {
    return state < kStates ? field<float>(kMaximumPowerOffset + 4 * state) : 0.0f;
}
float HwDatablockIqOp3RfmCalibDataMisc::basebandVoltage(std::size_t state) const {
    return state < kStates ? field<float>(kBasebandVoltageOffset + 4 * state) : 0.0f;
}
std::uint16_t HwDatablockIqOp3RfmCalibDataMisc::lconReserve(std::size_t state) const {
    return state < kStates ? field<std::uint16_t>(kLconReserveOffset + 2 * state) : 0;
}
std::uint16_t HwDatablockIqOp3RfmCalibDataMisc::detectorReserve(std::size_t state) const {
    return state < kStates ? field<std::uint16_t>(kDetectorReserveOffset + 2 * state) : 0;
}
void HwDatablockIqOp3RfmCalibDataMisc::setMaximumPower(float value, std::size_t state) {
    if (state < kStates) setField<float>(kMaximumPowerOffset + 4 * state, value);
}
void HwDatablockIqOp3RfmCalibDataMisc::setBasebandVoltage(float value, std::size_t state) {
    if (state < kStates) setField<float>(kBasebandVoltageOffset + 4 * state, value);
}
void HwDatablockIqOp3RfmCalibDataMisc::setLconReserve(std::uint16_t value, std::size_t state) {
    if (state < kStates) setField<std::uint16_t>(kLconReserveOffset + 2 * state, value);
}
void HwDatablockIqOp3RfmCalibDataMisc::setDetectorReserve(std::uint16_t value, std::size_t state) {
    if (state < kStates) setField<std::uint16_t>(kDetectorReserveOffset + 2 * state, value);
}

// --- IQOP3 RFM per-state table -------------------------------------------------

std::uint32_t HwSDatablockIqOp3RfmCalibData::constructions_ = 0;

HwSDatablockIqOp3RfmCalibData::HwSDatablockIqOp3RfmCalibData(std::uint8_t flag)
    : HwSDatablockIqOp3RfmCalibData(0, flag) {}

HwSDatablockIqOp3RfmCalibData::HwSDatablockIqOp3RfmCalibData(std::uint32_t instance,
                                                             std::uint8_t flag)
    : Family(kBaseId, instance, flag) {
    ++constructions_;
}

std::unique_ptr<HwDatablock> HwSDatablockIqOp3RfmCalibData::create(std::uint32_t instance,
                                                                   std::uint8_t flag) {
    return std::unique_ptr<HwDatablock>(new HwSDatablockIqOp3RfmCalibData(instance, flag));
}

std::uint32_t HwSDatablockIqOp3RfmCalibData::instanceCount() {
    return constructions_;
}

// --- IQOP3 RFM misc, version 2.0 -------------------------------------------------

namespace {
constexpr std::size_t kMiscV20GroupOffsets[] = {8, 24, 40, 56, 76, 92};
constexpr std::size_t kMiscV20DetectorOffset = 108;
}  // namespace

HwDatablockIqOp3RfmCalibDataMiscV20::HwDatablockIqOp3RfmCalibDataMiscV20(std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kId, 0, kSize, 8) {}

std::size_t HwDatablockIqOp3RfmCalibDataMiscV20::groupOffset(Group group) {
    return group < kGroupCount ? kMiscV20GroupOffsets[group] : 0;
}

float HwDatablockIqOp3RfmCalibDataMiscV20::groupValue(Group group, std::size_t index) const {
    if (group >= kGroupCount || index >= kGroupValues) return 0.0f;
    return field<float>(groupOffset(group) + 4 * index);
}

void HwDatablockIqOp3RfmCalibDataMiscV20::setGroupValue(float value, Group group,
                                                        std::size_t index) {
    if (group < kGroupCount && index < kGroupValues) {
        setField<float>(groupOffset(group) + 4 * index, value);
    }
}

std::int16_t HwDatablockIqOp3RfmCalibDataMiscV20::detectorAttenuation(std::size_t index) const {
    return index < kGroupValues ? field<std::int16_t>(kMiscV20DetectorOffset + 2 * index) : 0;
}

void HwDatablockIqOp3RfmCalibDataMiscV20::setDetectorAttenuation(std::int16_t value,
                                                                 std::size_t index) {
    if (index < kGroupValues) setField<std::int16_t>(kMiscV20DetectorOffset + 2 * index, value);
}

// --- IQOP3 RFM table, version 2.0 ----------------------------------------------

namespace {
constexpr std::size_t kSensitivityWithin = 0;
constexpr std::size_t kLevelPresetWithin = 16;
constexpr std::size_t kAttenuationNormalWithin = 24;
constexpr std::size_t kAttenuationOverrangeWithin = 36;
}  // namespace

HwSDatablockIqOp3RfmCalibDataV20::HwSDatablockIqOp3RfmCalibDataV20(std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kId, 0, kSize, 8) {}

std::size_t HwSDatablockIqOp3RfmCalibDataV20::fieldOffset(std::size_t row, std::size_t within,
                                                          std::size_t index, std::size_t count,
                                                          std::size_t width) {
    if (row >= kRows || index >= count) return 0;
    return 8 + row * kRowBytes + within + index * width;
}

float HwSDatablockIqOp3RfmCalibDataV20::sensitivity(std::size_t row, std::size_t index) const {
    std::size_t offset = fieldOffset(row, kSensitivityWithin, index, 4, 4);
    return offset != 0 ? field<float>(offset) : 0.0f;
}
std::int16_t HwSDatablockIqOp3RfmCalibDataV20::levelPreset(std::size_t row,
                                                           std::size_t index) const {
    std::size_t offset = fieldOffset(row, kLevelPresetWithin, index, 4, 2);
    return offset != 0 ? field<std::int16_t>(offset) : 0;
}
float HwSDatablockIqOp3RfmCalibDataV20::levelAttenuationNormal(std::size_t row,
                                                               std::size_t index) const {
    std::size_t offset = fieldOffset(row, kAttenuationNormalWithin, index, 3, 4);
    return offset != 0 ? field<float>(offset) : 0.0f;
}
float HwSDatablockIqOp3RfmCalibDataV20::levelAttenuationOverrange(std::size_t row,
                                                                  std::size_t index) const {
    std::size_t offset = fieldOffset(row, kAttenuationOverrangeWithin, index, 3, 4);
    return offset != 0 ? field<float>(offset) : 0.0f;
}
void HwSDatablockIqOp3RfmCalibDataV20::setSensitivity(float value, std::size_t row,
                                                      std::size_t index) {
    std::size_t offset = fieldOffset(row, kSensitivityWithin, index, 4, 4);
    if (offset != 0) setField<float>(offset, value);
}
void HwSDatablockIqOp3RfmCalibDataV20::setLevelPreset(std::int16_t value, std::size_t row,
                                                      std::size_t index) {
    std::size_t offset = fieldOffset(row, kLevelPresetWithin, index, 4, 2);
    if (offset != 0) setField<std::int16_t>(offset, value);
}
void HwSDatablockIqOp3RfmCalibDataV20::setLevelAttenuationNormal(float value, std::size_t row,
                                                                 std::size_t index) {
    std::size_t offset = fieldOffset(row, kAttenuationNormalWithin, index, 3, 4);
    if (offset != 0) setField<float>(offset, value);
}
void HwSDatablockIqOp3RfmCalibDataV20::setLevelAttenuationOverrange(float value, std::size_t row,
                                                                    std::size_t index) {
    std::size_t offset = fieldOffset(row, kAttenuationOverrangeWithin, index, 3, 4);
    if (offset != 0) setField<float>(offset, value);
}

// --- IQOP6 calibration table -------------------------------------------------------

namespace {
constexpr std::size_t kLevAtt20Offset = 8;
constexpr std::size_t kLevAtt40Offset = 8 + HwDatablockIqOp6CalibData::kRows;
constexpr std::size_t kDacOffset = 8 + 2 * HwDatablockIqOp6CalibData::kRows;
}  // namespace

HwDatablockIqOp6CalibData::HwDatablockIqOp6CalibData(std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kId, 0, kSize, 8) {}

std::uint8_t HwDatablockIqOp6CalibData::levelAttenuation20(std::size_t row) const {
    return row < kRows ? field<std::uint8_t>(kLevAtt20Offset + row) : 0;
}
std::uint8_t HwDatablockIqOp6CalibData::levelAttenuation40(std::size_t row) const {
    return row < kRows ? field<std::uint8_t>(kLevAtt40Offset + row) : 0;
}
std::uint16_t HwDatablockIqOp6CalibData::dacValue(std::size_t state, std::size_t row) const {
    if (state >= kStates || row >= kRows) return 0;
    return field<std::uint16_t>(kDacOffset + 2 * (kRows * state + row));
}
void HwDatablockIqOp6CalibData::setLevelAttenuation20(std::uint8_t value, std::size_t row) {
    if (row < kRows) setField<std::uint8_t>(kLevAtt20Offset + row, value);
}
void HwDatablockIqOp6CalibData::setLevelAttenuation40(std::uint8_t value, std::size_t row) {
    if (row < kRows) setField<std::uint8_t>(kLevAtt40Offset + row, value);
}
void HwDatablockIqOp6CalibData::setDacValue(std::uint16_t value, std::size_t state,
                                            std::size_t row) {
    if (state < kStates && row < kRows) {
        setField<std::uint16_t>(kDacOffset + 2 * (kRows * state + row), value);
    }
}

// --- SATTC counters ------------------------------------------------------------

HwDatablockSattcCounter::HwDatablockSattcCounter(std::uint16_t blockId, std::uint8_t flag)
    : CatalogueBlock(flag, CountKind::None, kFirstId,
                     static_cast<std::uint32_t>(blockId - kFirstId) & 0xFFFFu, kSize, 8) {
    // The only class whose constructor leaves a valid block.
    refreshChecksum();
}

std::unique_ptr<HwDatablock> HwDatablockSattcCounter::create(std::uint32_t instance,
                                                             std::uint8_t flag) {
    return std::make_unique<HwDatablockSattcCounter>(
        static_cast<std::uint16_t>(kFirstId + instance), flag);
}

std::uint32_t HwDatablockSattcCounter::counter(std::size_t index) const {
    return index < kCounters ? field<std::uint32_t>(8 + 4 * index) : 0;
}

void HwDatablockSattcCounter::setCounter(std::uint32_t value, std::size_t index) {
    if (index < kCounters) setField<std::uint32_t>(8 + 4 * index, value);
}

// --- generator model -------------------------------------------------------------

HwDatablockMbrdModel::HwDatablockMbrdModel()
    : CatalogueBlock(0, CountKind::None, kId, 0, kSize, 8) {}

std::unique_ptr<HwDatablock> HwDatablockMbrdModel::create(std::uint32_t, std::uint8_t) {
    return std::make_unique<HwDatablockMbrdModel>();
}

std::string HwDatablockMbrdModel::modelName() const {
    std::string name;
    for (std::size_t i = 0; i < kNameBytes; ++i) {
        char c = static_cast<char>(readU8(bytes_, 8 + i));
        if (c == '\0') break;
        name.push_back(c);
    }
    return name;
}

void HwDatablockMbrdModel::setModelName(const std::string& name) {
    std::uint8_t text[kNameBytes] = {};
    for (std::size_t i = 0; i < kNameBytes && i < name.size(); ++i) {
        text[i] = static_cast<std::uint8_t>(name[i]);
    }
    storeBytes(8, text, kNameBytes);
}

// --- external level calibration, second edition, enhanced --------------------------

HwSDatablockMbrdExtLevCalData2Edition_Enh::HwSDatablockMbrdExtLevCalData2Edition_Enh(
    std::uint32_t instance, std::uint8_t flag, std::size_t size)
    : Family(kBaseId, instance, flag, size == kLargeSize ? 13 : 7) {}

std::unique_ptr<HwDatablock> HwSDatablockMbrdExtLevCalData2Edition_Enh::create(
    std::uint32_t instance, std::uint8_t flag) {
    return std::make_unique<HwSDatablockMbrdExtLevCalData2Edition_Enh>(instance, flag, kLargeSize);
}

// --- CWOP3 detector tune DAC --------------------------------------------------------

HwSDatablockCwop3DetTuneDac::HwSDatablockCwop3DetTuneDac(std::uint32_t instance, std::uint8_t flag)
    : Family(kBaseId, instance, flag) {}

std::unique_ptr<HwDatablock> HwSDatablockCwop3DetTuneDac::create(std::uint32_t instance,
                                                                 std::uint8_t flag) {
    return makeInstance<HwSDatablockCwop3DetTuneDac>(instance, flag);
}

void HwSDatablockCwop3DetTuneDac::clearForcedBytes() {
    Family::clearForcedBytes();
    // The DAC is 16 bits wide: a load keeps the low half of each value.
    for (std::size_t i = 0; i < kCapacity; ++i) clearRaw(offsetOf(i) + 2, 2);
}

// --- lowpass responses ---------------------------------------------------------------

std::size_t HwLowpassResponseBlock::rowOf(std::size_t lowpass, std::size_t level, std::size_t row) {
    return (lowpass * kLevels + level) * kRowsPerLevel + row;
}

std::int8_t HwLowpassResponseBlock::sample(std::size_t lowpass, std::size_t level, std::size_t row,
                                           std::size_t index) const {
    if (lowpass >= kLowpasses || level >= kLevels || row >= kRowsPerLevel) return 0;
    return value(rowOf(lowpass, level, row), index);
}

void HwLowpassResponseBlock::setSample(std::int8_t sampleValue, std::size_t lowpass,
                                       std::size_t level, std::size_t row, std::size_t index) {
    if (lowpass >= kLowpasses || level >= kLevels || row >= kRowsPerLevel) return;
    setValue(sampleValue, rowOf(lowpass, level, row), index);
}

std::unique_ptr<HwDatablock> HwSDatablockMbrdRfResponseLpAmp::create(std::uint32_t instance,
                                                                     std::uint8_t flag) {
    return makeInstance<HwSDatablockMbrdRfResponseLpAmp>(instance, flag);
}

std::unique_ptr<HwDatablock> HwSDatablockMbrdRfResponseLpPh::create(std::uint32_t instance,
                                                                    std::uint8_t flag) {
    return makeInstance<HwSDatablockMbrdRfResponseLpPh>(instance, flag);
}

// --- CWOP detector linearity correction ------------------------------------------------

HwSDatablockCwopDetLinCorrData::HwSDatablockCwopDetLinCorrData(std::uint32_t instance,
                                                               std::uint8_t flag)
    : Family(kBaseId, instance, flag) {}

std::unique_ptr<HwDatablock> HwSDatablockCwopDetLinCorrData::create(std::uint32_t instance,
                                                                    std::uint8_t flag) {
    return makeInstance<HwSDatablockCwopDetLinCorrData>(instance, flag);
}

std::int32_t HwSDatablockCwopDetLinCorrData::level(std::size_t step, std::size_t pair) const {
    return pair < kPairs ? value(step, 2 * pair) : 0;
}
std::int32_t HwSDatablockCwopDetLinCorrData::correction(std::size_t step, std::size_t pair) const {
    return pair < kPairs ? value(step, 2 * pair + 1) : 0;
}
void HwSDatablockCwopDetLinCorrData::setLevel(std::int32_t levelValue, std::size_t step,
                                              std::size_t pair) {
    if (pair < kPairs) setValue(levelValue, step, 2 * pair);
}
void HwSDatablockCwopDetLinCorrData::setCorrection(std::int32_t correctionValue, std::size_t step,
                                                   std::size_t pair) {
    if (pair < kPairs) setValue(correctionValue, step, 2 * pair + 1);
}

}  // namespace quenmap
