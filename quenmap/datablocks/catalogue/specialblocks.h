#pragma once
// The catalogue classes with named fields or a rule of their own. Their rows
// in blockcatalogue.def are plain QM_BLOCK rows.

#include <cstdint>
#include <memory>
#include <string>

#include "datablocks/families/countedlist.h"
#include "datablocks/families/matrixblock.h"

namespace quenmap {

// VCO ident: the job number as u32 at 8, then eight 16-bit ident fields.
class HwDatablockCwop6VcoIdent : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 10502;
    static constexpr std::size_t kSize = 28;
    enum Field : std::size_t {
        kSerialNumber,
        kLotNumber,
        kTaz,
        kOsc3SubHigh,
        kOsc3SubLow,
        kOsc2SubHigh,
        kOsc2SubLow,
        kOsc1SubHigh,
        kFieldCount
    };

    explicit HwDatablockCwop6VcoIdent(std::uint8_t flag = 1);
    std::uint32_t jobNumber() const { return field<std::uint32_t>(8); }
    void setJobNumber(std::uint32_t value) { setField<std::uint32_t>(8, value); }
    // 0 beyond the eight fields; the setter ignores them.
    std::uint16_t identField(std::size_t index) const;
    void setIdentField(std::uint16_t value, std::size_t index);
    const char* className() const override { return "HwDatablockCwop6VcoIdent"; }
};

// IQOP3 RFM calibration values per operating state (12 state slots).
class HwDatablockIqOp3RfmCalibDataMisc : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 10301;
    static constexpr std::size_t kSize = 168;
    static constexpr std::size_t kStates = 12;

    explicit HwDatablockIqOp3RfmCalibDataMisc(std::uint8_t flag = 1);

    // Tolerances in 1/128 dB.
    std::uint16_t levelPresetTolerance() const { return field<std::uint16_t>(8); }
    std::uint16_t levelAttenuator15Tolerance() const { return field<std::uint16_t>(10); }
    std::uint16_t levelAttenuator30And45Tolerance() const { return field<std::uint16_t>(12); }
    std::uint16_t detectorAttenuatorTolerance() const { return field<std::uint16_t>(14); }
    float detectorFullScale() const { return field<float>(16); }
    std::uint32_t stateCount() const { return field<std::uint32_t>(20); }
    // Per state (index < 12, else 0): the maximum output power as a float
    // holding round(dBm * 128), the IQ baseband voltage, the LCON reserve
    // (1/128 dB) and the detector reserve (dB).
    float maximumPower(std::size_t state) const;
    float basebandVoltage(std::size_t state) const;
    std::uint16_t lconReserve(std::size_t state) const;
    std::uint16_t detectorReserve(std::size_t state) const;

    void setLevelPresetTolerance(std::uint16_t value) { setField<std::uint16_t>(8, value); }
    void setLevelAttenuator15Tolerance(std::uint16_t value) { setField<std::uint16_t>(10, value); }
    void setLevelAttenuator30And45Tolerance(std::uint16_t value) {
        setField<std::uint16_t>(12, value);
    }
    void setDetectorAttenuatorTolerance(std::uint16_t value) { setField<std::uint16_t>(14, value); }
    void setDetectorFullScale(float value) { setField<float>(16, value); }
    void setStateCount(std::uint32_t value) { setField<std::uint32_t>(20, value); }
    void setMaximumPower(float value, std::size_t state);
    void setBasebandVoltage(float value, std::size_t state);
    void setLconReserve(std::uint16_t value, std::size_t state);
    void setDetectorReserve(std::uint16_t value, std::size_t state);

    const char* className() const override { return "HwDatablockIqOp3RfmCalibDataMisc"; }
};

// IQOP3 RFM calibration table of one operating state: the state number at 8
// and 300 frequency rows of two packed 32-bit words. Every construction counts
// in a process-wide counter, from which the text reader takes its state.
class HwSDatablockIqOp3RfmCalibData : public MatrixBlock<CountKind::U32, std::uint32_t, 300, 2> {
    using Family = MatrixBlock<CountKind::U32, std::uint32_t, 300, 2>;

  public:
    static constexpr std::uint16_t kBaseId = 10303;

    explicit HwSDatablockIqOp3RfmCalibData(std::uint8_t flag = 1);
    // The object of block id 10303 + instance (the binary dispatch).
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    // Constructions so far in this process; never decremented.
    static std::uint32_t instanceCount();

    std::uint32_t stateNumber() const { return count(); }
    void setStateNumber(std::uint32_t value) { setCount(value); }
    std::uint32_t wordA(std::size_t row) const { return value(row, 0); }
    std::uint32_t wordB(std::size_t row) const { return value(row, 1); }
    void setWordA(std::uint32_t word, std::size_t row) { setValue(word, row, 0); }
    void setWordB(std::uint32_t word, std::size_t row) { setValue(word, row, 1); }
    const char* className() const override { return "HwSDatablockIqOp3RfmCalibData"; }

  private:
    HwSDatablockIqOp3RfmCalibData(std::uint32_t instance, std::uint8_t flag);
    static std::uint32_t constructions_;
};

// IQOP3 RFM calibration values of data version 2.0: groups of four floats,
// one float UIQ and four signed 16-bit detector attenuations.
class HwDatablockIqOp3RfmCalibDataMiscV20 : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 10315;
    static constexpr std::size_t kSize = 116;
    static constexpr std::size_t kGroupValues = 4;
    // The float groups in block order (LMAX, LCAL_SENS, VCAL_SENS, LRANGE,
    // LCON_RESERVE, LPRE_CAL_LEV); UIQ lies between LRANGE and LCON_RESERVE.
    enum Group : std::size_t {
        kLevelMaximum,
        kLevelCalSensitivity,
        kVoltageCalSensitivity,
        kLevelRange,
        kLconReserve,
        kLevelPresetCalLevel,
        kGroupCount
    };

    explicit HwDatablockIqOp3RfmCalibDataMiscV20(std::uint8_t flag = 1);
    // 0 for a group or index out of range; the setters ignore them.
    float groupValue(Group group, std::size_t index) const;
    void setGroupValue(float value, Group group, std::size_t index);
    float basebandVoltage() const { return field<float>(72); }
    void setBasebandVoltage(float value) { setField<float>(72, value); }
    std::int16_t detectorAttenuation(std::size_t index) const;
    void setDetectorAttenuation(std::int16_t value, std::size_t index);
    const char* className() const override { return "HwDatablockIqOp3RfmCalibDataMiscV20"; }

  private:
    static std::size_t groupOffset(Group group);
};

// IQOP3 RFM calibration table of data version 2.0: 300 rows of 48 bytes from
// byte 8, no count.
class HwSDatablockIqOp3RfmCalibDataV20 : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 10316;
    static constexpr std::size_t kRows = 300;
    static constexpr std::size_t kRowBytes = 48;
    static constexpr std::size_t kSize = 8 + kRows * kRowBytes;

    explicit HwSDatablockIqOp3RfmCalibDataV20(std::uint8_t flag = 1);
    // SENS_LOW, _MED, _HIGH, _OVR (index < 4).
    float sensitivity(std::size_t row, std::size_t index) const;
    // LPRE_CW_NORM, LPRE_CW_OVR, LPRE_IQ_NORM, LPRE_IQ_OVR (index < 4).
    std::int16_t levelPreset(std::size_t row, std::size_t index) const;
    // LEVATT15, 30, 45 in normal range and in overrange (index < 3).
    float levelAttenuationNormal(std::size_t row, std::size_t index) const;
    float levelAttenuationOverrange(std::size_t row, std::size_t index) const;
    void setSensitivity(float value, std::size_t row, std::size_t index);
    void setLevelPreset(std::int16_t value, std::size_t row, std::size_t index);
    void setLevelAttenuationNormal(float value, std::size_t row, std::size_t index);
    void setLevelAttenuationOverrange(float value, std::size_t row, std::size_t index);
    const char* className() const override { return "HwSDatablockIqOp3RfmCalibDataV20"; }

  private:
    // Offset of a field of a row; 0 (never a payload offset) when out of range.
    static std::size_t fieldOffset(std::size_t row, std::size_t within, std::size_t index,
                                   std::size_t count, std::size_t width);
};

// IQOP6 calibration table: LEVATT_20 and LEVATT_40 per row, then the DAC
// value of every state and row.
class HwDatablockIqOp6CalibData : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 10902;
    static constexpr std::size_t kRows = 70;
    static constexpr std::size_t kStates = 32;
    static constexpr std::size_t kSize = 8 + 2 * kRows + 2 * kStates * kRows;

    explicit HwDatablockIqOp6CalibData(std::uint8_t flag = 1);
    std::uint8_t levelAttenuation20(std::size_t row) const;
    std::uint8_t levelAttenuation40(std::size_t row) const;
    std::uint16_t dacValue(std::size_t state, std::size_t row) const;
    void setLevelAttenuation20(std::uint8_t value, std::size_t row);
    void setLevelAttenuation40(std::uint8_t value, std::size_t row);
    void setDacValue(std::uint16_t value, std::size_t state, std::size_t row);
    const char* className() const override { return "HwDatablockIqOp6CalibData"; }
};

// SATTC counters: two u32 values; the block id (11300 to 11303) is given to
// the constructor, which also writes a valid checksum.
class HwDatablockSattcCounter : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kFirstId = 11300;
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kCounters = 2;

    explicit HwDatablockSattcCounter(std::uint16_t blockId = kFirstId, std::uint8_t flag = 1);
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    std::uint32_t counter(std::size_t index) const;
    void setCounter(std::uint32_t value, std::size_t index);
    const char* className() const override { return "HwDatablockSattcCounter"; }
};

// Generator model name: 32 characters at 8-39. Always constructed with flag 0
// (the block is optional in a text).
class HwDatablockMbrdModel : public CatalogueBlock {
  public:
    static constexpr std::uint16_t kId = 12001;
    static constexpr std::size_t kSize = 40;
    static constexpr std::size_t kNameBytes = 32;

    HwDatablockMbrdModel();
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    // The name up to its first NUL.
    std::string modelName() const;
    // At most 32 characters; the rest of the field is cleared.
    void setModelName(const std::string& name);
    const char* className() const override { return "HwDatablockMbrdModel"; }
};

// External level calibration, second edition, enhanced: 7 or 13 rows of 500.
class HwSDatablockMbrdExtLevCalData2Edition_Enh
    : public MatrixBlock<CountKind::U16, std::int16_t, 13, 500> {
    using Family = MatrixBlock<CountKind::U16, std::int16_t, 13, 500>;

  public:
    static constexpr std::uint16_t kBaseId = 12095;
    static constexpr std::size_t kDefaultSize = 7012;
    static constexpr std::size_t kLargeSize = 13012;

    // A size of 13012 gives 13 rows, any other the default 7 rows (7012 bytes).
    explicit HwSDatablockMbrdExtLevCalData2Edition_Enh(std::uint32_t instance,
                                                       std::uint8_t flag = 1,
                                                       std::size_t size = kDefaultSize);
    // The images carry the 13-row form.
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    const char* className() const override { return "HwSDatablockMbrdExtLevCalData2Edition_Enh"; }
};

// CWOP3 detector tune DAC values: a u16 count and 100 32-bit values of which
// only the low 16 bits are kept at load.
class HwSDatablockCwop3DetTuneDac : public CountedList<CountKind::U16, std::uint32_t, 100> {
    using Family = CountedList<CountKind::U16, std::uint32_t, 100>;

  public:
    static constexpr std::uint16_t kBaseId = 12200;

    explicit HwSDatablockCwop3DetTuneDac(std::uint32_t instance, std::uint8_t flag = 1);
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    const char* className() const override { return "HwSDatablockCwop3DetTuneDac"; }

  protected:
    void clearForcedBytes() override;
};

// RF response of the lowpasses: nine u32 counts at 8-43, then for each of 9
// lowpasses and 4 levels 150 rows of four signed bytes.
class HwLowpassResponseBlock
    : public MatrixBlock<CountKind::U32Nine, std::int8_t, 9 * 4 * 150, 4, 44> {
    using Family = MatrixBlock<CountKind::U32Nine, std::int8_t, 9 * 4 * 150, 4, 44>;

  public:
    static constexpr std::size_t kLowpasses = 9;
    static constexpr std::size_t kLevels = 4;
    static constexpr std::size_t kRowsPerLevel = 150;
    static constexpr std::size_t kValuesPerRow = 4;

    // 0 outside the bounds; the setter ignores them.
    std::int8_t sample(std::size_t lowpass, std::size_t level, std::size_t row,
                       std::size_t index) const;
    void setSample(std::int8_t value, std::size_t lowpass, std::size_t level, std::size_t row,
                   std::size_t index);

  protected:
    HwLowpassResponseBlock(std::uint16_t baseId, std::uint32_t instance, std::uint8_t flag)
        : Family(baseId, instance, flag) {}

  private:
    static std::size_t rowOf(std::size_t lowpass, std::size_t level, std::size_t row);
};

class HwSDatablockMbrdRfResponseLpAmp : public HwLowpassResponseBlock {
  public:
    static constexpr std::uint16_t kBaseId = 12230;
    explicit HwSDatablockMbrdRfResponseLpAmp(std::uint32_t instance, std::uint8_t flag = 1)
        : HwLowpassResponseBlock(kBaseId, instance, flag) {}
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    const char* className() const override { return "HwSDatablockMbrdRfResponseLpAmp"; }
};

class HwSDatablockMbrdRfResponseLpPh : public HwLowpassResponseBlock {
  public:
    static constexpr std::uint16_t kBaseId = 12240;
    explicit HwSDatablockMbrdRfResponseLpPh(std::uint32_t instance, std::uint8_t flag = 1)
        : HwLowpassResponseBlock(kBaseId, instance, flag) {}
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    const char* className() const override { return "HwSDatablockMbrdRfResponseLpPh"; }
};

// CWOP detector linearity correction: two u16 counts, then 10 steps of 50
// pairs (level, correction) of 32-bit values.
class HwSDatablockCwopDetLinCorrData
    : public MatrixBlock<CountKind::U16Pair, std::int32_t, 10, 100> {
    using Family = MatrixBlock<CountKind::U16Pair, std::int32_t, 10, 100>;

  public:
    static constexpr std::uint16_t kBaseId = 12292;
    static constexpr std::size_t kPairs = 50;

    explicit HwSDatablockCwopDetLinCorrData(std::uint32_t instance, std::uint8_t flag = 1);
    static std::unique_ptr<HwDatablock> create(std::uint32_t instance, std::uint8_t flag);
    std::int32_t level(std::size_t step, std::size_t pair) const;
    std::int32_t correction(std::size_t step, std::size_t pair) const;
    void setLevel(std::int32_t value, std::size_t step, std::size_t pair);
    void setCorrection(std::int32_t value, std::size_t step, std::size_t pair);
    const char* className() const override { return "HwSDatablockCwopDetLinCorrData"; }
};

}  // namespace quenmap
