#include "rfmtext.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "datablocks/catalogue/specialblocks.h"
#include "imagebuilder.h"
#include "primitives.h"
#include "textformat.h"
#include "textlabels.h"

namespace quenmap {

namespace {

float floatAt(const Bytes& bytes, std::size_t offset) {
    return floatOf(readU32(bytes, offset));
}

// Truncation toward zero, held at the 64-bit limits.
std::int64_t truncated(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9.0e18;
    if (value > kLimit) value = kLimit;
    if (value < -kLimit) value = -kLimit;
    return static_cast<std::int64_t>(value);
}

// Round as the calibration texts are rounded: add 0.5, then truncate.
std::int64_t rounded(double value) {
    return truncated(value + 0.5);
}

// ---- the table of one operating state ----------------------------------------------

const char kStateTableName[] = "IQOP3_RFM_CALIB_DATA";
const char kFrequencyName[] = "IQOP3_RFM_CALIB_DATA_FREQ";
const char kRfmIdLabel[] = "ID:                 ";
constexpr std::uint16_t kStateTableBaseId = 10302;
constexpr std::uint16_t kStateTableSize = 2412;
constexpr std::size_t kStateRows = 300;
constexpr std::size_t kFirstRowOffset = 12;
constexpr double kStepDb = 0.0078125;  // 1/128 dB

// 10^(x/10) as the calibration system computes it: from the float x times
// the float constant 0.1.
double powerFactor(float level) {
    // Held in memory as a float: the x87 unit of the 32-bit build would
    // otherwise keep the product in extended precision.
    volatile float exponent = level * 0.1f;
    return std::pow(10.0, static_cast<double>(exponent));
}

// The magnitude of the level attenuator's offset from its nominal step in
// 1/128 dB; it must fit the field of `bits` bits.
std::uint32_t attenuatorField(float attenuation, double nominal, int bits, const char* message) {
    double offset =
        std::floor((std::fabs(static_cast<double>(attenuation)) - nominal) * 128.0 + 0.5);
    std::int64_t field = truncated(std::fabs(offset));
    if (field > (std::int64_t{1} << bits) - 1) throw TextFailure{kStatusMissingString, message};
    return static_cast<std::uint32_t>(field);
}

// A two's-complement field of `bits` bits.
std::int32_t signedField(std::uint32_t word, int shift, int bits) {
    std::int32_t field = static_cast<std::int32_t>((word >> shift) & ((1u << bits) - 1));
    return field >= (1 << (bits - 1)) ? field - (1 << bits) : field;
}

}  // namespace

void readIqOp3RfmCalibDataText(TextInput& text, HwDatablock& block, std::uint32_t state) {
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(kStateTableSize);
    const std::string name = kStateTableName;
    text.rewind();
    float maximumPower = 0.0f;
    bool present = findKeyword(in, "PMAX_BZ1:", flag);
    for (std::uint32_t i = 1; present && i < state; ++i) present = skipToChar(in, ':', flag);
    if (present) maximumPower = readValue<float>(in, name);

    std::int32_t frequencies = 0;
    present = present && findKeyword(in, kFrequencyName, flag) && findKeyword(in, "COUNT:", flag);
    if (present) frequencies = readValue<std::int32_t>(in, kFrequencyName);
    present = present && findKeyword(in, name, flag);
    // The table head names the states side by side: "BZ 1", "BZ 2", ...
    for (std::uint32_t i = 0; present && i < state; ++i) present = findKeyword(in, "BZ", flag);
    if (present) image.setU32(8, readValue<std::uint32_t>(in, name));

    for (std::size_t k = 0; present && k < kStateRows; ++k) {
        if (static_cast<std::int64_t>(k) >= frequencies) break;  // later rows stay 0
        present = skipToChar(in, ':', flag);
        for (std::uint32_t i = 0; present && i < state; ++i) present = skipToChar(in, '[', flag);
        if (!present) break;
        readValue<float>(in, name);  // the calibration error code
        std::uint32_t levelPreset = readValue<std::uint32_t>(in, name);
        float attenuation15 = readValue<float>(in, name);
        float attenuation30 = readValue<float>(in, name);
        float attenuation45 = readValue<float>(in, name);
        float outputPower = readValue<float>(in, name);
        std::uint32_t detectorAttenuation = readValue<std::uint32_t>(in, name);
        std::uint32_t deflection = readValue<std::uint32_t>(in, name);

        // The deflection is kept for the state's maximum power.
        std::int64_t conversion = truncated(static_cast<double>(deflection) *
                                            powerFactor(maximumPower) / powerFactor(outputPower));
        std::uint32_t wordA = (levelPreset & 0xFu) | ((detectorAttenuation & 0x1Fu) << 4) |
                              ((static_cast<std::uint32_t>(conversion) & 0xFFFFu) << 9);
        std::uint32_t l15 =
            attenuatorField(attenuation15, 15.0, 10, "levAtt15 Value out of range in ASCII-File");
        std::uint32_t l30 =
            attenuatorField(attenuation30, 30.0, 11, "levAtt30 Value out of range in ASCII-File");
        std::uint32_t l45 =
            attenuatorField(attenuation45, 45.0, 11, "levAtt45 Value out of range in ASCII-File");
        image.setU32(kFirstRowOffset + 8 * k, wordA);
        image.setU32(kFirstRowOffset + 8 * k + 4, l15 | (l30 << 10) | (l45 << 21));
    }
    image.loadInto(block, static_cast<std::uint16_t>(kStateTableBaseId + state));
}

namespace {

void readStateTableByCounter(TextInput& text, HwDatablock& block) {
    readIqOp3RfmCalibDataText(text, block, HwSDatablockIqOp3RfmCalibData::instanceCount());
}

void writeStateTable(std::ostream& out, const HwDatablock& block) {
    const Bytes& bytes = block.bytes();
    out << kRfmIdLabel << kStateTableName << '\n'
        << "#Betriebszustand        LEVPRE LEVATT15\tLEVATT30 LEVATT45 DETATT  DETCONV_DEFLECTION "
           "\n"
        << "#\t BZ " << readU32(bytes, 8) << "\t        dB      dB\t  dB\t    dB\t   dBm\n";
    for (std::size_t k = 0; k < kStateRows; ++k) {
        std::uint32_t wordA = readU32(bytes, kFirstRowOffset + 8 * k);
        std::uint32_t wordB = readU32(bytes, kFirstRowOffset + 8 * k + 4);
        out << "Zeile" << k << ": \t\t[" << (wordA & 0xFu) << '\t'
            << fixedText(signedField(wordB, 0, 10) * kStepDb + 15, 3) << '\t'
            << fixedText(signedField(wordB, 10, 11) * kStepDb + 30, 3) << '\t'
            << fixedText(signedField(wordB, 21, 11) * kStepDb + 45, 3) << '\t'
            << ((wordA >> 4) & 0x1Fu) << "\t\t" << ((wordA >> 9) & 0xFFFFu) << "\t]\n";
    }
    out << '\n';
}

// ---- the table of data version 2.0 ------------------------------------------------

const char kV20Name[] = "IQOP3_RFM_CALIB_DATA_V20";
constexpr std::uint16_t kV20Id = 10316;
constexpr std::uint16_t kV20Size = 14408;
constexpr std::size_t kV20RowBytes = 48;

// The columns in text order: a real or a signed 16-bit value at its offset in the row.
struct V20Column {
    std::uint8_t offset;
    bool real;
};
const V20Column kV20Columns[] = {
    {0, true},   {4, true},   {8, true},   {12, true},  // SENS_LOW, _MED, _HIGH, _OVR
    {16, false}, {18, false}, {20, false},              // LPRE_CW_NORM, _CW_OVR, _IQ_NORM
    {24, true},  {28, true},  {32, true},               // LEVATT15, 30, 45 _NORM
    {22, false},                                        // LPRE_IQ_OVR
    {36, true},  {40, true},  {44, true},               // LEVATT15, 30, 45 _OVR
};

void readV20Table(TextInput& text, HwDatablock& block) {
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(kV20Size);
    text.rewind();
    std::int32_t frequencies = 0;
    bool present = findKeyword(in, kFrequencyName, flag) && findKeyword(in, "COUNT:", flag);
    if (present) frequencies = readValue<std::int32_t>(in, kFrequencyName);
    // The board list writes this table before the frequency block; searched
    // only forward, the text of a "-a" run could not be read at all.
    if (present) text.rewind();
    present = present && findKeyword(in, kV20Name, flag);
    for (std::size_t k = 0; present && k < kStateRows; ++k) {
        if (static_cast<std::int64_t>(k) >= frequencies) break;
        present = skipToChar(in, ':', flag);
        if (!present) break;
        readValue<std::uint32_t>(in, kV20Name);  // the number before the values
        const std::size_t row = 8 + k * kV20RowBytes;
        for (const V20Column& column : kV20Columns) {
            if (column.real) {
                image.setU32(row + column.offset, bitsOf(readValue<float>(in, kV20Name)));
            } else {
                image.setU16(row + column.offset,
                             static_cast<std::uint16_t>(readValue<std::int16_t>(in, kV20Name)));
            }
        }
    }
    image.loadInto(block, kV20Id);
}

void writeV20Table(std::ostream& out, const HwDatablock& block) {
    const Bytes& bytes = block.bytes();
    out << "# Das sind die Kalibrierdaten IQOP3 RFM Version 2.0\n"
        << kRfmIdLabel << kV20Name << '\n'
        << "SENS_LOW\t      SENS_MED\t     SENS_HIGH\t     SENS_OVR\t  LPRE_CW_NORM\t"
           "   LPRE_CW_OVR\t  LPRE_IQ_NORM\t LEVATT15_NORM\t LEVATT30_NORM\t LEVATT45_NORM\t"
           "   LPRE_IQ_OVR\t  LEVATT15_OVR\t  LEVATT30_OVR\t  LEVATT45_OVR\n"
        << " SENS in DAC/mW, Rest in dB \n";
    for (std::size_t k = 0; k < kStateRows; ++k) {
        const std::size_t row = 8 + k * kV20RowBytes;
        out << "Zeile" << k << ": \t\t";
        const char* separator = "";
        for (const V20Column& column : kV20Columns) {
            out << separator;
            if (column.real) {
                out << streamText(floatAt(bytes, row + column.offset));
            } else {
                out << static_cast<std::int16_t>(readU16(bytes, row + column.offset));
            }
            separator = "\t";
        }
        out << '\n';
    }
    out << '\n';
}

// ---- the per-state keyword vectors -----------------------------------------------------

const char kMiscName[] = "IQOP3_RFM_CALIB_DATA_MISC";
constexpr std::uint16_t kMiscId = 10301;
constexpr std::uint16_t kMiscSize = 168;
constexpr std::int32_t kMiscStates = 12;
const char kMiscSeparator[] = ":             ";

// How a per-state vector is kept.
enum class Vector : std::uint8_t {
    Real,       // 32-bit float as read
    RealSteps,  // 32-bit float holding round(x * 128) as an unsigned integer
    Steps16,    // unsigned 16, round(x * 128)
    Whole16,    // unsigned 16, round(x)
};

struct MiscVector {
    const char* key;  // + state number + ":"
    std::uint8_t offset;
    Vector kind;
    const char* comment;
};

const MiscVector kBasebandVoltage{
    "UIQ_BZ", 72, Vector::Real,
    "# IQMod. Basisbandspannung (V), diff. gemessen an IX/INX und QX/QNX am 80pol St., BZ Werte, "
    "3 Nachkomma,  (=halbe differentielle DQTS-Leerlaufspannung)\n"};
const MiscVector kMaximumPower{
    "PMAX_BZ", 24, Vector::RealSteps,
    "# Maximale Ausgangsleistung (dBm) des Betriebszustandes x, BZ Werte, 3 Nachkomma\n"};
const MiscVector kLconReserve{"LCON_RESERVE_BZ", 120, Vector::Steps16,
                              "# Reserve (dB) des LCON PIN D\xE4"
                              "mpfungsgliedes zum Vollausschlag, BZ Werte, 3 Nachkomma\n"};
const MiscVector kDetectorReserve{"DET_RESERVE_BZ", 144, Vector::Whole16,
                                  "# minimale Detektorreserve (dB) zum Vollauschlag des Detektors "
                                  "bei PMAX_BZx, BZ Werte, 3 Nachkomma\n"};

const char kFullScaleComment[] =
    "# Vollausschlag des Detektorwandlers (Definition LCM), bei der Kalibrierung als "
    "Vollausschlag definiert (65535)\n";
const char kLevelPresetComment[] =
    "# +/-Toleranz (dB) des LEVEL PRESET Step Attenuators., 3 Nachkomma\n";
const char kLevelAttenuatorComment[] = "# +/-Toleranz (dB) des Level Attenuators., 3 Nachkomma\n";
const char kDetectorAttenuatorComment[] =
    "# +/-Toleranz (dB) des Detektor Step Attenuators., 3 Nachkomma\n";
const char kMiscClosingComments[] =
    "# F\xFC"
    "r das Beschreiben des RFM EEPROMS werden pro Betriebszustandalle Spalten ausgenommen Fehler "
    "und OPU3RF_LP ben\xF6"
    "tigt\n"
    "# OPURF_LP=Baugruppenausgangsleistung Ausgangsleistung mit LEVELPRESET Einstellung lt. "
    "Tabelle und LCON-Absenkung=LCONRESERVE\n"
    "#\n"
    "# Fehler\t Beschreibung\n"
    "#      0\t kein Fehler\n"
    "#      1\t Iteration LPW fehlgeschlagen\n"
    "#      2\t Alle LPW au\xDF"
    "erhalb des LP-Limits\n"
    "#      3\t LPW au\xDF"
    "erhalb der LEVPRE-Toleranz\n"
    "#    +10\t PMAX_BZ nicht erreichbar\n"
    "#   +100\t LEVATT au\xDF"
    "erhalb der Toleranz\n"
    "#  +1000\t Alle DETATT au\xDF"
    "erhalb des LP-Limits\n"
    "#  +2000\t DETATT au\xDF"
    "erhalb der Toleranz\n";

constexpr std::size_t kLevelPresetTolerance = 8;
constexpr std::size_t kLevelAttenuator15Tolerance = 10;
constexpr std::size_t kLevelAttenuator30And45Tolerance = 12;
constexpr std::size_t kDetectorAttenuatorTolerance = 14;
constexpr std::size_t kFullScale = 16;
constexpr std::size_t kStateCount = 20;

std::uint16_t steps16(float value) {
    return static_cast<std::uint16_t>(rounded(static_cast<double>(value) * 128.0));
}

bool readVector(std::istream& in, ImageBuilder& image, const MiscVector& vector,
                std::uint32_t states, bool flag) {
    for (std::size_t i = 0; i < states; ++i) {
        if (!skipToChar(in, ':', flag)) return false;
        float value = readValue<float>(in, kMiscName);
        switch (vector.kind) {
            case Vector::Real:
                image.setU32(vector.offset + 4 * i, bitsOf(value));
                break;
            case Vector::RealSteps: {
                auto steps =
                    static_cast<std::uint32_t>(rounded(static_cast<double>(value) * 128.0));
                image.setU32(vector.offset + 4 * i, bitsOf(static_cast<float>(steps)));
                break;
            }
            case Vector::Steps16:
                image.setU16(vector.offset + 2 * i, steps16(value));
                break;
            case Vector::Whole16:
                image.setU16(vector.offset + 2 * i,
                             static_cast<std::uint16_t>(rounded(static_cast<double>(value))));
                break;
        }
    }
    return true;
}

void readMisc(TextInput& text, HwDatablock& block) {
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(kMiscSize);
    std::int64_t states = 0;
    bool present = findSection(text, kMiscName, flag) && findKeyword(in, "COUNT_BZ:", flag);
    if (present) {
        long long count = readValue<long long>(in, kMiscName);
        states = count < 0 ? std::numeric_limits<std::int64_t>::max() : count;
        checkCount(states, kMiscStates, kMiscName);
        image.setU32(kStateCount, static_cast<std::uint32_t>(states));
    }
    const auto n = static_cast<std::uint32_t>(states);
    present = present && readVector(in, image, kBasebandVoltage, n, flag) &&
              readVector(in, image, kMaximumPower, n, flag) &&
              readVector(in, image, kLconReserve, n, flag);
    present = present && findKeyword(in, "DET_FULL_SCALE:", flag);
    if (present) image.setU32(kFullScale, bitsOf(readValue<float>(in, kMiscName)));
    present = present && readVector(in, image, kDetectorReserve, n, flag);
    present = present && findKeyword(in, "TOLERANZ_LEVPRE:", flag);
    if (present) image.setU16(kLevelPresetTolerance, steps16(readValue<float>(in, kMiscName)));
    present = present && findKeyword(in, "TOLERANZ_LEVATT_15:", flag);
    if (present) {
        image.setU16(kLevelAttenuator15Tolerance, steps16(readValue<float>(in, kMiscName)));
    }
    present = present && skipToChar(in, ':', flag);
    if (present) {
        image.setU16(kLevelAttenuator30And45Tolerance, steps16(readValue<float>(in, kMiscName)));
    }
    present = present && findKeyword(in, "TOLERANZ_DETATT:", flag);
    if (present) {
        image.setU16(kDetectorAttenuatorTolerance, steps16(readValue<float>(in, kMiscName)));
    }
    image.loadInto(block, kMiscId);
}

void writeVector(std::ostream& out, const Bytes& bytes, const MiscVector& vector,
                 std::uint32_t states, const char* unit) {
    out << vector.comment;
    for (std::size_t i = 0; i < states; ++i) {
        out << vector.key << i + 1 << kMiscSeparator;
        switch (vector.kind) {
            case Vector::Real:
                out << streamText(floatAt(bytes, vector.offset + 4 * i));
                break;
            case Vector::RealSteps:
                out << fixedText(
                    (static_cast<double>(floatAt(bytes, vector.offset + 4 * i)) - 0.5) * kStepDb,
                    1);
                break;
            case Vector::Steps16:
                out << formatText("%d", static_cast<int>(readU16(bytes, vector.offset + 2 * i)));
                break;
            case Vector::Whole16:
                out << readU16(bytes, vector.offset + 2 * i);
                break;
        }
        out << unit << '\n';
    }
}

void writeMisc(std::ostream& out, const HwDatablock& block) {
    const Bytes& bytes = block.bytes();
    // The vectors have 12 slots; a larger stored count prints only those.
    const std::uint32_t states = std::min<std::uint32_t>(readU32(bytes, kStateCount),
                                                         static_cast<std::uint32_t>(kMiscStates));
    out << "# Anzahl der Betriebszust\xE4"
           "nde, ganzzahlig, Standard 8\n"
        << kIdLabel << kMiscName << '\n'
        << paddedKey("COUNT_BZ:") << readU32(bytes, kStateCount) << '\n';
    writeVector(out, bytes, kBasebandVoltage, states, "\t V");
    writeVector(out, bytes, kMaximumPower, states, "\t dBm");
    writeVector(out, bytes, kLconReserve, states, "\t dB");
    out << kFullScaleComment << "DET_FULL_SCALE" << kMiscSeparator << floatAt(bytes, kFullScale)
        << "\t V\n";
    writeVector(out, bytes, kDetectorReserve, states, "\t dB");
    out << kLevelPresetComment << "TOLERANZ_LEVPRE" << kMiscSeparator
        << readU16(bytes, kLevelPresetTolerance) << "\t dB\n"
        << kLevelAttenuatorComment << "TOLERANZ_LEVATT_15" << kMiscSeparator
        << fixedText(readU16(bytes, kLevelAttenuator15Tolerance) * kStepDb, 1) << "\t dB\n"
        << "TOLERANZ_LEVATT_30_45"
        << ":          " << fixedText(readU16(bytes, kLevelAttenuator30And45Tolerance) * kStepDb, 1)
        << "\t dB\n"
        << kDetectorAttenuatorComment << "TOLERANZ_DETATT" << kMiscSeparator
        << readU16(bytes, kDetectorAttenuatorTolerance) << "\t dB\n"
        << kMiscClosingComments << '\n';
}

bool isStateTable(std::uint16_t id) {
    return id > kStateTableBaseId && id <= kStateTableBaseId + 12;
}

}  // namespace

TextReader rfmReaderFor(std::uint16_t blockId) {
    if (isStateTable(blockId)) return &readStateTableByCounter;
    if (blockId == kV20Id) return &readV20Table;
    if (blockId == kMiscId) return &readMisc;
    return nullptr;
}

bool writeRfmText(std::ostream& out, const HwDatablock& block) {
    const std::uint16_t id = block.id();
    if (isStateTable(id)) {
        writeStateTable(out, block);
    } else if (id == kV20Id) {
        writeV20Table(out, block);
    } else if (id == kMiscId) {
        writeMisc(out, block);
    } else {
        return false;
    }
    return true;
}

const LayoutTable& rfmLayoutTable() {
    static const LayoutTable table{&rfmReaderFor, &writeRfmText};
    return table;
}

}  // namespace quenmap
