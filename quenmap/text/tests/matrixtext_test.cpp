// Matrix text forms: exact image from text, exact text from image, round
// trips and the count checks, over every matrix type.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "matrixtesting.h"

namespace quenmap::matrixtest {
namespace {

// ---- matrices whose columns are counted by the frequency block -------------------

enum class Shape { Level, Attenuation, Temperature, Dims };

struct MatrixCase {
    std::uint16_t id;
    std::size_t size;
    std::string name;
    std::string frequency;
    Shape shape;
    std::size_t rowCapacity;
    std::size_t columnCapacity;
    std::size_t perColumn;  // values per column (2 for level/correction pairs)
    std::size_t offset;
    std::size_t width;  // 1, 2 or 4 bytes
    int rowCountAt;     // -1: not kept
    int columnCountAt;  // -1: not kept
    std::uint32_t fill;
    std::string head;        // comment lines before "ID:"
    std::string countText;   // after "COUNT:" + 11 blanks in the writer's text
    std::string afterCount;  // comment lines after the count line
    std::size_t rowsUsed;    // rows in the test text
};

const std::string kUserData = "#Das sind die Userdaten \n";
const std::string kAttAfter = "# f[10Hz]\n#  ATTENUATOR_CORRECTION [1/100dB]\n";
const std::string kTempAfter = "# f[10Hz]\n# TEMPERATURE_GRADIENT [((TK+1)*50)] \n";

std::vector<MatrixCase> matrixCases() {
    const std::string ext = "# Das sind die Externen Kalibrierdaten \n";
    return {
        {12061, 3652, "EXT_CAL_DAT_B_LEVEL", "EXT_CAL_DAT_B_FREQ", Shape::Level, 7, 260, 1, 12, 2,
         8, -1, 0, ext, "2 *COUNT_OF_EXT_CAL_DAT_B_FREQ", "", 2},
        {12162, 3652, "EXT_CAL_DAT_C_LEVEL_2_EDITION", "EXT_CAL_DAT_C_FREQ_2_EDITION", Shape::Level,
         7, 260, 1, 12, 2, 8, -1, 0, "# Userdaten \n", "2 *COUNT_OF_EXT_CAL_DAT_C_FREQ_2_EDITION",
         "", 2},
        {12081, 7012, "EXT_CAL_DAT_B_LEVEL_ENH", "EXT_CAL_DAT_B_FREQ_ENH", Shape::Level, 7, 500, 1,
         12, 2, 8, -1, 0, ext, "2 *COUNT_OF_EXT_CAL_DAT_B_FREQ_ENH", "", 2},
        {12095, 13012, "EXT_CAL_DAT_A_LEVEL_2_EDITION_ENH", "EXT_CAL_DAT_A_FREQ_2_EDITION_ENH",
         Shape::Level, 13, 500, 1, 12, 2, 8, -1, 0, "# Userdaten \n",
         "2 *COUNT_OF_EXT_CAL_DAT_A_FREQ_2_EDITION_ENH", "", 2},
        {12203, 412, "CWOP3_DET_TUNE_D_DAC", "CWOP3_DET_TUNE_D_FREQ", Shape::Level, 1, 100, 1, 12,
         4, 8, -1, 0, "#Userdaten: Det-Tune DAC \n", "1 *COUNT_OF_CWOP3_DET_TUNE_D_FREQ", "", 1},
        {12293, 4012, "CWOP_DETLINCORR_B_DATA", "CWOP_DETLINCORR_B_FREQ", Shape::Level, 10, 50, 2,
         12, 4, 8, 10, 0,
         "# max number of steps 10 \n# number of steps\n"
         "# level values and corresponding correction values\n",
         "2 *COUNT_OF_CWOP_DETLINCORR_B_FREQ", "", 2},
        {12041, 60016, "LEV_CAL_DAT_LEVEL", "LEV_CAL_DAT_FREQ", Shape::Dims, 20, 1500, 1, 16, 2, 8,
         12, 0,
         "# Pegelst\xFC"
         "tzstellen [dBm] \n",
         "2 * 3", "", 2},
        {12043, 60016, "LEV_CAL_DAT_REL_CORR", "LEV_CAL_DAT_FREQ", Shape::Dims, 20, 1500, 1, 16, 2,
         8, 12, 0, "# Externe Kalibrierdaten [1/100dBm] \n", "2 * 3", "", 2},
        {12045, 8016, "ATT_CAL_DAT_CORR", "ATT_CAL_DAT_FREQ", Shape::Dims, 20, 200, 1, 16, 2, 8, 12,
         0, "# Korrekturdaten [1/100dB] \n", "2 * 3", "", 2},
        {12047, 20016, "ATT_CAL_DAT_CORR_SE", "ATT_CAL_DAT_FREQ_SE", Shape::Dims, 20, 500, 1, 16, 2,
         8, 12, 0, "# Korrekturdaten [1/100dB] \n", "2 * 3", "", 2},
        {10602, 8108, "SATT3_CALIB_DATA_ATT", "SATT3_CALIB_FREQ", Shape::Attenuation, 27, 150, 1, 8,
         2, -1, -1, 20000, kUserData, "26 * SATT3_CALIB_FREQ", kAttAfter, 26},
        {11001, 8108, "SATT6_CALIB_DATA_ATT", "SATT6_CALIB_FREQ", Shape::Attenuation, 27, 150, 1, 8,
         2, -1, -1, 20000, kUserData, "26 * COUNT_OF_SATT6_CALIB_FREQ", kAttAfter, 26},
        {12183, 8112, "ATT_CAL_DAT_D_LEVEL_2_EDITION", "ATT_CAL_DAT_D_FREQ_2_EDITION",
         Shape::Attenuation, 27, 150, 1, 12, 2, 8, -1, 20000, kUserData,
         "20 *COUNT_OF_ATT_CAL_DAT_D_FREQ_2_EDITION", kAttAfter, 20},
        {10603, 4060, "SATT3_CALIB_DATA_TEMP", "SATT3_CALIB_FREQ", Shape::Temperature, 27, 150, 1,
         10, 1, -1, -1, 50, "#Das sind die Temperaturgradienten \n", "26 * SATT3_CALIB_FREQ",
         kTempAfter, 26},
        {11202, 4060, "SATT6_CALIB_DATA_TEMP", "SATT6_CALIB_FREQ", Shape::Temperature, 27, 150, 1,
         10, 1, -1, -1, 50, "#Das sind die Temperaturgradienten \n",
         "26 * COUNT_OF_SATT6_CALIB_FREQ", kTempAfter, 26},
    };
}

constexpr std::size_t kColumnsUsed = 3;
constexpr std::int16_t kVTemp = -1234;

// Plausible values of every element type, negative ones where the type is signed.
std::int64_t sample(const MatrixCase& c, std::size_t r, std::size_t col, std::size_t k) {
    switch (c.width) {
        case 1:
            return 40 + static_cast<std::int64_t>(r + 2 * col + k);  // (TK+1)*50
        case 4:
            return c.perColumn == 2 ? -70000 - static_cast<std::int64_t>(1000 * r + 10 * col + k)
                                    : 40000 + static_cast<std::int64_t>(r + col);
        default:
            return (col % 2 == 0 ? -1 : 1) * static_cast<std::int64_t>(100 * r + 7 * col + 1);
    }
}

std::string textOf(const MatrixCase& c) {
    std::string text = "ID:              " + c.frequency + "\nCOUNT:           3\n";
    for (int i = 1; i <= 3; ++i) text += std::to_string(i) + ":             1000000.00\n";
    text += "\nID:              " + c.name + "\n";
    if (c.shape == Shape::Temperature) text += "VTemp:           " + std::to_string(kVTemp) + "\n";
    text += "COUNT:           " + std::to_string(c.rowsUsed) + " * x\n";
    if (c.shape == Shape::Attenuation) text += "#  ATTENUATOR_CORRECTION [1/100dB]\n";
    if (c.shape == Shape::Temperature) text += "# TEMPERATURE_GRADIENT\n";
    for (std::size_t r = 0; r < c.rowsUsed; ++r) {
        text += std::to_string(r) + ":";
        for (std::size_t col = 0; col < kColumnsUsed; ++col) {
            for (std::size_t k = 0; k < c.perColumn; ++k) {
                text += " " + std::to_string(sample(c, r, col, k));
            }
        }
        text += " 99 98\n";  // beyond the frequency count: not read
    }
    return text + "\n";
}

std::size_t cellAt(const MatrixCase& c, std::size_t r, std::size_t col, std::size_t k) {
    return c.offset + ((r * c.columnCapacity + col) * c.perColumn + k) * c.width;
}

void put(Expected& image, std::size_t width, std::size_t at, std::int64_t value) {
    if (width == 1) image.u8(at, static_cast<std::uint8_t>(value));
    if (width == 2) image.u16(at, static_cast<std::uint16_t>(value));
    if (width == 4) image.u32(at, static_cast<std::uint32_t>(value));
}

Bytes imageOf(const MatrixCase& c) {
    Expected image(c.id, c.size);
    if (c.rowCountAt >= 0) image.u16(c.rowCountAt, static_cast<std::uint16_t>(c.rowsUsed));
    if (c.columnCountAt >= 0) image.u16(c.columnCountAt, kColumnsUsed);
    if (c.shape == Shape::Temperature) image.u16(8, static_cast<std::uint16_t>(kVTemp));
    for (std::size_t r = 0; r < c.rowCapacity; ++r) {
        for (std::size_t col = 0; col < c.columnCapacity; ++col) {
            for (std::size_t k = 0; k < c.perColumn; ++k) {
                bool used = r < c.rowsUsed && col < kColumnsUsed;
                put(image, c.width, cellAt(c, r, col, k), used ? sample(c, r, col, k) : c.fill);
            }
        }
    }
    return image.bytes();
}

std::string writtenText(const MatrixCase& c) {
    std::string text = c.head + "ID:              " + c.name + "\n";
    if (c.shape == Shape::Temperature) text += "VTemp:           " + std::to_string(kVTemp) + "\n";
    text += "COUNT:           " + c.countText + "\n" + c.afterCount;
    const bool attenuator = c.shape == Shape::Attenuation || c.shape == Shape::Temperature;
    const std::size_t columns = c.columnCountAt >= 0 ? kColumnsUsed : c.columnCapacity;
    for (std::size_t r = 0; r < c.rowsUsed; ++r) {
        text += attenuator ? std::to_string(5 * r) + ":" : std::to_string(r) + ": ";
        for (std::size_t col = 0; col < columns; ++col) {
            for (std::size_t k = 0; k < c.perColumn; ++k) {
                bool used = col < kColumnsUsed;
                text += attenuator ? "\t\t" : "\t\t ";
                text += std::to_string(used ? sample(c, r, col, k) : c.fill);
            }
        }
        text += "\n";
    }
    return text + "\n";
}

class FrequencyMatrixText : public ::testing::TestWithParam<MatrixCase> {};

TEST_P(FrequencyMatrixText, TextGivesTheImage) {
    const MatrixCase& c = GetParam();
    Read read = readLayout(textOf(c), c.id, c.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, imageOf(c));
}

TEST_P(FrequencyMatrixText, ImageGivesTheText) {
    const MatrixCase& c = GetParam();
    EXPECT_EQ(writeLayout(imageOf(c)), writtenText(c));
}

TEST_P(FrequencyMatrixText, WrittenTextReadsBackBehindItsFrequencies) {
    const MatrixCase& c = GetParam();
    std::string frequencies = "ID:              " + c.frequency + "\nCOUNT:           3\n";
    for (int i = 1; i <= 3; ++i) frequencies += std::to_string(i) + ":             1000.00\n";
    Read read = readLayout(frequencies + "\n" + writeLayout(imageOf(c)), c.id, c.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, imageOf(c));
}

TEST_P(FrequencyMatrixText, MoreFrequenciesThanARowHoldsNameTheFrequencyBlock) {
    const MatrixCase& c = GetParam();
    auto withColumns = [&](std::size_t columns) {
        return "ID:              " + c.frequency + "\nCOUNT:           " + std::to_string(columns) +
               "\n\nID:              " + c.name +
               "\nVTemp: 1\nCOUNT:           0\nATTENUATOR_CORRECTION TEMPERATURE_GRADIENT\n";
    };
    EXPECT_EQ(readLayout(withColumns(c.columnCapacity), c.id, c.size).status, 0);
    Read over = readLayout(withColumns(c.columnCapacity + 1), c.id, c.size);
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(over.message, " count of Block " + c.frequency + " is too high");
}

TEST_P(FrequencyMatrixText, MoreRowsThanTheImageHoldsNameTheMatrix) {
    const MatrixCase& c = GetParam();
    auto withRows = [&](std::size_t rows) {
        std::string text = "ID:              " + c.frequency + "\nCOUNT:           0\n\n" +
                           "ID:              " + c.name +
                           "\nVTemp: 1\nCOUNT:           " + std::to_string(rows) +
                           "\nATTENUATOR_CORRECTION TEMPERATURE_GRADIENT\n";
        for (std::size_t r = 0; r < rows; ++r) text += std::to_string(r) + ":\n";
        return text;
    };
    EXPECT_EQ(readLayout(withRows(c.rowCapacity), c.id, c.size).status, 0);
    Read over = readLayout(withRows(c.rowCapacity + 1), c.id, c.size);
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(over.message, " count of Block " + c.name + " is too high");
}

INSTANTIATE_TEST_SUITE_P(EveryType, FrequencyMatrixText, ::testing::ValuesIn(matrixCases()),
                         [](const auto& param) { return param.param.name; });

TEST(FrequencyMatrixText, AbsentLevelSectionGivesIdZero) {
    Read read = readLayout("ID:              EXT_CAL_DAT_A_FREQ\nCOUNT: 0\n", 12060, 3652, 0);
    ASSERT_EQ(read.status, 0);
    EXPECT_EQ(read.bytes, Expected(0, 3652).bytes());
}

TEST(FrequencyMatrixText, AbsentAttenuatorSectionIsAllNoValueMarks) {
    Read read = readLayout("nothing here\n", 10602, 8108, 0);
    Expected image(10602, 8108);
    for (std::size_t i = 0; i < 27 * 150; ++i) image.u16(8 + 2 * i, 20000);
    EXPECT_EQ(read.bytes, image.bytes());
}

// ---- tables of fields per frequency row --------------------------------------------

TEST(FieldTableText, AmGainRowsCountedByTheFrequencyBlockWrittenBeforeIt) {
    const std::string text =
        "ID:              CWOP3_6_AM_GAIN_DATA\n1:\t200\t-40\t3\t4\n2:\t211\t-37\t0\t1\n"
        "3:\t9\t9\t9\t9\n\nID:              CWOP3_6_AM_GAIN_FREQ\nCOUNT:           2\n"
        "1:             1\n2:             2\n";
    Expected image(10501, 1608);
    const std::int16_t values[2][4] = {{200, -40, 3, 4}, {211, -37, 0, 1}};
    for (int r = 0; r < 2; ++r) {
        for (int k = 0; k < 4; ++k) image.u16(8 + 8 * r + 2 * k, values[r][k]);
    }
    Read read = readLayout(text, 10501, 1608);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, image.bytes());

    std::string written =
        "# Das sind die AM-Gain Daten\nFreqIndex   CW_GAIN   AM_GAIN    RESERVE1    RESERVE2\n"
        "ID:              CWOP3_6_AM_GAIN_DATA\n1:\t200\t-40\t3\t4\n2:\t211\t-37\t0\t1\n";
    for (int r = 3; r <= 200; ++r) written += std::to_string(r) + ":\t0\t0\t0\t0\n";
    EXPECT_EQ(writeLayout(image.bytes()), written + "\n");
}

TEST(FieldTableText, IqOp6RowsByFrequenciesAndStatesByPmaxCount) {
    const std::string text =
        "ID:              IQOP6_PMAX_BZ\nCOUNT_BZ:        2\n1: 18\n2: 16\n\n"
        "ID:              IQOP6_CALIB_DATA_FREQ\nCOUNT:           2\n0: 1e7\n1: 2e9\n\n"
        "ID:              IQOP6_CALIB_DATA\n0:\t10000000.0\t20\t40\t30000\t30250\t77\n"
        "1:\t2000000000.0\t21\t41\t29910\t65535\n";
    Expected image(10902, 4628);
    image.u8(8, 20).u8(9, 21).u8(78, 40).u8(79, 41);
    image.u16(148, 30000).u16(148 + 140, 30250).u16(150, 29910).u16(150 + 140, 65535);
    Read read = readLayout(text, 10902, 4628);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, image.bytes());

    std::string written =
        "# DAWERT-Kalibriertabelle: in einer Zeile: lfd. Nr., Frequenz , LEVATT_20, LEVATT_40, "
        "DAWERT[BZ1], DAWERT[BZ2],  ...\nID:              IQOP6_CALIB_DATA\n";
    for (int r = 0; r < 70; ++r) {
        written += std::to_string(r) + ":\t0\t" + std::to_string(r < 2 ? 20 + r : 0) + "\t" +
                   std::to_string(r < 2 ? 40 + r : 0);
        for (int s = 0; s < 32; ++s) {
            int value = r == 0 && s == 0   ? 30000
                        : r == 0 && s == 1 ? 30250
                        : r == 1 && s == 0 ? 29910
                        : r == 1 && s == 1 ? 65535
                                           : 0;
            written += "\t" + std::to_string(value);
        }
        written += "\n";
    }
    EXPECT_EQ(writeLayout(image.bytes()), written + "\n");
    Read again = readLayout(text.substr(0, text.find("ID:              IQOP6_CALIB_DATA\n")) +
                                writeLayout(image.bytes()),
                            10902, 4628);
    EXPECT_EQ(again.bytes, image.bytes());
}

TEST(FieldTableText, AduOffsetsInTheOrderGainDetectorReference) {
    std::string text = "ID:              ADU_OFFSET_CAL_DATA\n";
    Expected image(15652, 204);
    image.u32(8, 8);
    for (int r = 0; r < 8; ++r) {
        double gain = 1 << r, detector = 0.125 * (r + 1), reference = 0.5 - 0.5 * r;
        text += std::to_string(r + 1) + ":\t" + std::to_string(1 << r) + "\t" +
                std::to_string(detector) + "\t" + std::to_string(reference) + "\n";
        image.f64(12 + 24 * r, gain)
            .f64(12 + 24 * r + 16, detector)
            .f64(12 + 24 * r + 8, reference);
    }
    Read read = readLayout(text, 15652, 204);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, image.bytes());
    const std::string written = writeLayout(image.bytes());
    EXPECT_NE(written.find("# Reihenfolge \xFC"
                           "ber ansteigende Wert von GAIN notwendig\n"
                           "ID:              ADU_OFFSET_CAL_DATA\n1:\t1\t0.125\t0.5\n"
                           "2:\t2\t0.25\t0\n3:\t4\t0.375\t-0.5\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(readLayout(written, 15652, 204).bytes, image.bytes());
}

// ---- lowpass and attenuator groups ---------------------------------------------------

struct GroupCase {
    std::uint16_t id;
    std::string name;
    std::string frequency;
    std::size_t groups, levels, rowsPerLevel, values, width, offset, size;
    std::string (*label)(std::size_t n, std::size_t q);
};

std::string ampLabel(std::size_t n, std::size_t q) {
    return "LP" + std::to_string(n) + "IQPEP" + std::to_string(q) + "A";
}
std::string phaseLabel(std::size_t n, std::size_t q) {
    return "LP" + std::to_string(n) + "IQPEP" + std::to_string(q) + "P";
}
std::string attLabel(std::size_t, std::size_t q) {
    return "ATT" + std::to_string(q);
}

std::int64_t groupSample(const GroupCase& c, std::size_t n, std::size_t q, std::size_t i,
                         std::size_t k) {
    std::int64_t v = static_cast<std::int64_t>(n * 13 + q * 5 + i * 3 + k) % 120 - 60;
    return c.width == 1 ? v : v * 1000 + 7;
}

// Lowpass n (from 0) has n % 3 rows: lowpasses without rows are allowed.
std::size_t groupCount(const GroupCase& c, std::size_t n) {
    return c.groups == 1 ? 2 : n % 3;
}

std::string groupText(const GroupCase& c, const std::string& path) {
    std::string text = "ID:              " + c.frequency + "\n";
    for (std::size_t n = 0; n < c.groups; ++n) {
        text += "COUNT:           " + std::to_string(groupCount(c, n)) + "\n";
        for (std::size_t i = 0; i < groupCount(c, n); ++i) text += std::to_string(i + 1) + ": 5\n";
    }
    text += "\nID:              " + path + "\n";
    for (std::size_t n = 0; n < c.groups; ++n) {
        for (std::size_t q = 0; q < c.levels; ++q) {
            if (groupCount(c, n) == 0) continue;
            text += c.label(n + 1, q + 1) + "\n";
            for (std::size_t i = 0; i < groupCount(c, n); ++i) {
                text += std::to_string(i + 1) + ":";
                for (std::size_t k = 0; k < c.values; ++k) {
                    text += " " + std::to_string(groupSample(c, n, q, i, k));
                }
                text += "\n";
            }
        }
    }
    return text + "\n";
}

Bytes groupImage(const GroupCase& c) {
    Expected image(c.id, c.size);
    for (std::size_t n = 0; n < c.groups; ++n) {
        image.u32(8 + 4 * n, static_cast<std::uint32_t>(groupCount(c, n)));
        for (std::size_t q = 0; q < c.levels; ++q) {
            for (std::size_t i = 0; i < groupCount(c, n); ++i) {
                for (std::size_t k = 0; k < c.values; ++k) {
                    std::size_t row = (n * c.levels + q) * c.rowsPerLevel + i;
                    put(image, c.width, c.offset + (row * c.values + k) * c.width,
                        groupSample(c, n, q, i, k));
                }
            }
        }
    }
    return image.bytes();
}

std::string groupWritten(const GroupCase& c, const std::string& head,
                         const std::function<std::string(std::size_t)>& lowpassHead,
                         const std::string& levelHead) {
    std::string text = head + "ID:              " + c.name + "\n";
    for (std::size_t n = 0; n < c.groups; ++n) {
        text += lowpassHead(n + 1);
        for (std::size_t q = 0; q < c.levels; ++q) {
            text += levelHead + std::to_string(q + 1) + "\n";
            for (std::size_t i = 0; i < groupCount(c, n); ++i) {
                text += c.label(n + 1, q + 1) + " " + std::to_string(i + 1) + ": ";
                for (std::size_t k = 0; k < c.values; ++k) {
                    text += "\t\t " + std::to_string(groupSample(c, n, q, i, k));
                }
                text += "\n";
            }
            text += "\n";
        }
        text += "\n";
    }
    return text;
}

TEST(LabelledGroupText, LowpassAmplitudesOfPathC) {
    GroupCase c{12232,
                "PATH_C_RF_RESPONSE_LP_AMP",
                "PATH_C_RF_RESPONSE_LP_FREQ",
                9,
                4,
                150,
                4,
                1,
                44,
                21644,
                &ampLabel};
    Read read = readLayout(groupText(c, c.name), c.id, c.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, groupImage(c));
    std::string written = groupWritten(
        c,
        "#Das sind die Amplitudenwerte f\xFC"
        "r die Tiefp\xE4"
        "sse \n",
        [](std::size_t n) {
            return "#TIEFPASS NR. " + std::to_string(n) +
                   "\n# Das sind die Amplitudenwerte [Skalierung: x*460, x*300, x*190, "
                   "(x-1)*3200] fuer den " +
                   std::to_string(n) + ". TP\n";
        },
        "#iqpep");
    EXPECT_EQ(writeLayout(groupImage(c)), written);
    std::string frequencies = groupText(c, c.name);
    frequencies = frequencies.substr(0, frequencies.find("\nID:") + 1);
    EXPECT_EQ(readLayout(frequencies + written, c.id, c.size).bytes, groupImage(c));
}

TEST(LabelledGroupText, LowpassPhasesOfPathA) {
    GroupCase c{12240,
                "PATH_A_RF_RESPONSE_LP_PH",
                "PATH_A_RF_RESPONSE_LP_FREQ",
                9,
                4,
                150,
                4,
                1,
                44,
                21644,
                &phaseLabel};
    Read read = readLayout(groupText(c, c.name), c.id, c.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, groupImage(c));
    std::string written = groupWritten(
        c,
        "#Das sind die Phasenwerte f\xFC"
        "r die Tiefp\xE4"
        "sse \n",
        [](std::size_t n) {
            return "#TIEFPASS NR. " + std::to_string(n) +
                   "\n# Das sind die Phasenwerte [Skalierung: x*3] fuer den " + std::to_string(n) +
                   ". TP\n";
        },
        "#iqpep");
    EXPECT_EQ(writeLayout(groupImage(c)), written);
}

TEST(LabelledGroupText, AttenuatorAmplitudesOfPathB) {
    GroupCase c{12271,
                "PATH_B_RF_RESPONSE_ATT_AMP",
                "PATH_B_RF_RESPONSE_ATT_FREQ",
                1,
                6,
                200,
                2,
                4,
                12,
                9612,
                &attLabel};
    Read read = readLayout(groupText(c, c.name), c.id, c.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, groupImage(c));
    std::string written = groupWritten(
        c,
        "# Das sind die Amplitudenwerte bei D\xE4"
        "mpfungsgliedern [1*10000] \n",
        [](std::size_t) { return std::string(); }, "#att");
    EXPECT_EQ(writeLayout(groupImage(c)), written);
}

TEST(LabelledGroupText, EachPathReadsTheRowsOfItsOwnSection) {
    GroupCase a{12270,
                "PATH_A_RF_RESPONSE_ATT_AMP",
                "PATH_A_RF_RESPONSE_ATT_FREQ",
                1,
                6,
                200,
                2,
                4,
                12,
                9612,
                &attLabel};
    GroupCase b = a;
    b.id = 12271;
    b.name = "PATH_B_RF_RESPONSE_ATT_AMP";
    b.frequency = "PATH_B_RF_RESPONSE_ATT_FREQ";
    // Path A's section first, with other values under the same labels.
    std::string pathA = writeLayout(groupImage(a));
    for (char& ch : pathA) {
        if (ch == '7') ch = '3';
    }
    Read read = readLayout(pathA + groupText(b, b.name), b.id, b.size);
    ASSERT_EQ(read.status, 0) << read.message;
    EXPECT_EQ(read.bytes, groupImage(b));
}

TEST(LabelledGroupText, TooManyFrequenciesOfALowpassNameTheFrequencyBlock) {
    std::string text = "ID:              PATH_A_RF_RESPONSE_LP_FREQ\nCOUNT: 150\nCOUNT: 151\n";
    Read read = readLayout(text, 12230, 21644);
    EXPECT_EQ(read.status, 2);
    EXPECT_EQ(read.message, " count of Block PATH_A_RF_RESPONSE_LP_FREQ is too high");
}

}  // namespace
}  // namespace quenmap::matrixtest
