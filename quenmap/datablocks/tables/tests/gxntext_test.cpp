// The GXN RF-board text form: head, five cell formats, and its readers.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "conversionsupport.h"
#include "datablocks/blockcatalogue.h"
#include "datablocks/tables/tableclasses.h"
#include "tabletestsupport.h"
#include "text/tabletext.h"

namespace quenmap {
namespace {

using test::Image;

struct GxnCase {
    BlockKind kind;
    const char* blockName;
    const char* head;
};

const GxnCase kGxnCases[] = {
    {BlockKind::GxnRfboAttCalFreq, "BLOCK_GXN_RFBO_ATT_CAL_FREQ", "ATT-CAL-FREQ"},
    {BlockKind::GxnRfboAttCalData, "BLOCK_GXN_RFBO_ATT_CAL_DATA", "ATT-CAL-DATA"},
    {BlockKind::GxnRfboTempCompFreq, "BLOCK_GXN_RFBO_TEMP_COMP_FREQ", "TEMP-COMP-FREQ"},
    {BlockKind::GxnRfboTempCompData, "BLOCK_GXN_RFBO_TEMP_COMP_DATA", "TEMP-COMP-DATA"},
    {BlockKind::GxnRfboAttRegAttenuation, "BLOCK_GXN_RFBO_ATT_REG_ATTENUATION",
     "ATT-REG-ATTENUATION"},
    {BlockKind::GxnRfboAttRegData, "BLOCK_GXN_RFBO_ATT_REG_DATA", "ATT-REG-DATA"},
};

std::string headOf(const char* head, const std::string& name, std::uint32_t rows,
                   std::uint32_t columns) {
    return std::string("#   Veltrona, GXN - RF-Board - ") + head + " - Data\n" +
           "#   \n#   \n#   \n#   \n" + "ID:     " + name + "\n#   \n" +
           "#       Parameter COUNT: <rows> * <columns>\n" + "COUNT:  " + std::to_string(rows) +
           " * " + std::to_string(columns) + "\n" + "#   \n#   \n#   \n#   \n#   \n";
}

struct Sample {
    std::string text;
    Image image;
};

// Three rows of up to four cells in the table's own cell format.
Sample gxnSample(const GxnCase& gxn) {
    const TableDescriptor& type = *findTableDescriptor(gxn.kind);
    const std::uint32_t rows = 3, columns = std::min(type.shape.columns, 4u);
    Sample sample;
    sample.image = test::tableImage(type, 0, rows, columns);
    sample.text = headOf(gxn.head, type.textName, rows, columns);
    for (std::uint32_t r = 0; r < rows; ++r) {
        sample.text += std::to_string(r + 1) + ":  ";
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::size_t at = test::cellAt(type, r, c);
            switch (type.shape.cell) {
                case CellType::F64: {
                    const double stored = type.scale == 1.0 ? -12.375 + r + 100 * c : 1000.5 + r;
                    std::uint64_t bits;
                    std::memcpy(&bits, &stored, sizeof bits);
                    test::putLittleEndian(sample.image, at, bits, 8);
                    sample.text += test::printed("    %21.10f", stored * type.scale);
                    break;
                }
                case CellType::F32: {
                    const float stored = 0.5f + 0.25f * static_cast<float>(r) - 10.0f * c;
                    std::uint32_t bits;
                    std::memcpy(&bits, &stored, sizeof bits);
                    test::putLittleEndian(sample.image, at, bits, 4);
                    sample.text += test::printed("    %12.2f", static_cast<double>(stored));
                    break;
                }
                case CellType::U32: {
                    const std::uint32_t stored = 0x8000A000u + 0x10 * r + c;
                    test::putLittleEndian(sample.image, at, stored, 4);
                    sample.text += test::printed("    0x%08X", stored);
                    break;
                }
                default: {
                    const std::int32_t stored = (c % 2 == 1 ? -1 : 1) * (123457 * (r + 1) + c);
                    test::putLittleEndian(sample.image, at, static_cast<std::uint32_t>(stored), 4);
                    sample.text += test::printed("    %21.10f", static_cast<double>(stored));
                    break;
                }
            }
        }
        sample.text += "\n";
    }
    sample.text += "\n";
    test::sealChecksum(sample.image);
    return sample;
}

class GxnTableText : public ::testing::TestWithParam<GxnCase> {};

TEST_P(GxnTableText, SingleBlockConvertsBothWaysByteForByte) {
    const Sample sample = gxnSample(GetParam());
    const test::Outcome binary = test::textToBinary(sample.text, GetParam().blockName);
    ASSERT_EQ(binary.status, 0) << binary.errors;
    EXPECT_EQ(binary.output, test::asString(sample.image));
    EXPECT_EQ(binary.diagnostics, "");

    const test::Outcome text = test::binaryToText(binary.output);
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(text.output, sample.text);
    EXPECT_EQ(test::textToBinary(text.output, GetParam().blockName).output, binary.output);
}

TEST_P(GxnTableText, ZeroRowsWriteOnlyTheHead) {
    auto block = createBlockForId(findTableDescriptor(GetParam().kind)->baseId);
    std::ostringstream out;
    block->writeText(out);
    EXPECT_EQ(out.str(),
              headOf(GetParam().head, findTableDescriptor(GetParam().kind)->textName, 0, 0) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Table, GxnTableText, ::testing::ValuesIn(kGxnCases), [](const auto& row) {
    std::string name = row.param.head;
    name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
    return name;
});

std::string readInto(HwDatablock& block, const std::string& text) {
    std::istringstream in(text);
    std::ostringstream diagnostics;
    TextInput input(in, diagnostics);
    readTableBlockText(input, block);
    return diagnostics.str();
}

TEST(GxnTableText, RowNumbersAreRightAlignedToTheDigitsOfTheRowCount) {
    HwDatablockGxnRfboAttCalFreq seven;  // 200 rows of capacity
    seven.setRowsInUse(7);
    seven.setColumnsInUse(1);
    std::ostringstream narrow;
    seven.writeText(narrow);
    EXPECT_NE(narrow.str().find("\n1:      "), std::string::npos);
    EXPECT_NE(narrow.str().find("\n7:      "), std::string::npos);

    seven.setRowsInUse(10);
    std::ostringstream wide;
    seven.writeText(wide);
    EXPECT_NE(wide.str().find("\n 1:  " + test::printed("    %21.10f", 0.0) + "\n"),
              std::string::npos);
    EXPECT_NE(wide.str().find("\n10:  "), std::string::npos);
}

TEST(GxnTableText, AttenuationRegisterTablePrintsFiftyLinesOfFourCells) {
    HwDatablockGxnRfboAttRegAttenuation table;
    table.setRowsInUse(50);
    table.setColumnsInUse(4);
    table.setStoredCell(49, 3, -1.5);
    std::ostringstream out;
    table.writeText(out);
    const std::string text = out.str();
    const std::string head = headOf("ATT-REG-ATTENUATION", "GXN_RFBO_ATTREG_ATTENUATION", 50, 4);
    ASSERT_EQ(text.substr(0, head.size()), head);
    const std::string zero = test::printed("    %12.2f", 0.0);
    EXPECT_EQ(text.substr(head.size(), 5 + 4 * 16 + 1), " 1:  " + zero + zero + zero + zero + "\n");
    EXPECT_NE(text.find("50:  " + zero + zero + zero + "           -1.50\n\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14 + 50 + 1);
}

TEST(GxnTableText, ReaderConvertsEachCellFormat) {
    HwDatablockGxnRfboAttRegAttenuation attenuation;
    EXPECT_EQ(readInto(attenuation,
                       "ID:  GXN_RFBO_ATTREG_ATTENUATION\nCOUNT: 1*3\n"
                       "1:  1.234  -0.005  7.996\n"),
              "");
    EXPECT_FLOAT_EQ(static_cast<float>(attenuation.storedCell(0, 0)), 1.23f);
    EXPECT_FLOAT_EQ(static_cast<float>(attenuation.storedCell(0, 1)), 0.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(attenuation.storedCell(0, 2)), 8.0f);

    HwDatablockGxnRfboAttRegData registers;
    EXPECT_EQ(readInto(registers,
                       "ID:     GXN_RFBO_ATTREG_DATA\nCOUNT:  1*3\n"
                       "1:  0xDEADBEEF  ff   0x00000010\n"),
              "");
    EXPECT_EQ(registers.rawCell(0, 0), 0xDEADBEEF);
    EXPECT_EQ(registers.rawCell(0, 1), 0xFF);
    EXPECT_EQ(registers.rawCell(0, 2), 0x10);

    HwDatablockGxnRfboTempCompData data;
    EXPECT_EQ(readInto(data,
                       "ID:     BLOCK_GXN_RFBO_TEMP_COMP_DATA\nCOUNT:  1 * 2\n"
                       "1:      -17.9000000000    42.5  # the rest is comment 3\n"),
              "");
    EXPECT_EQ(data.rawCell(0, 0), -17);
    EXPECT_EQ(data.rawCell(0, 1), 42);

    HwDatablockGxnRfboAttCalFreq frequencies;  // scale 100
    EXPECT_EQ(readInto(frequencies,
                       "ID: BLOCK_GXN_RFBO_ATT_CAL_FREQ\nCOUNT:  200*1\n1: 12345.5\n"
                       "2: 150\n"),
              "ERROR: Number of rows read inadequate!\n");
    EXPECT_EQ(frequencies.rowsInUse(), 200u);
    EXPECT_EQ(frequencies.storedCell(0, 0), 123.455);
    EXPECT_EQ(frequencies.storedCell(1, 0), 1.5);
}

struct GxnMessageCase {
    const char* name;
    BlockKind kind;
    std::string text;
    std::string diagnostics;
};

class GxnMessages : public ::testing::TestWithParam<GxnMessageCase> {};

TEST_P(GxnMessages, AreWrittenAndTheBlockIsStillLoaded) {
    const GxnMessageCase& c = GetParam();
    auto block = createBlockForId(findTableDescriptor(c.kind)->baseId);
    EXPECT_EQ(readInto(*block, c.text), c.diagnostics);
    EXPECT_EQ(block->id(), findTableDescriptor(c.kind)->baseId);
    EXPECT_TRUE(block->verifyImage(block->data(), block->length()));
}

const std::string kFreqId = "ID:     BLOCK_GXN_RFBO_ATT_CAL_FREQ\n";
const std::string kRegId = "ID:     GXN_RFBO_ATTREG_DATA\n";
const std::string kTempId = "ID:     BLOCK_GXN_RFBO_TEMP_COMP_FREQ\n";

INSTANTIATE_TEST_SUITE_P(
    Table, GxnMessages,
    ::testing::Values(
        GxnMessageCase{"TwoLinesBeforeCount", BlockKind::GxnRfboAttCalFreq,
                       kFreqId + "a\nb\nCOUNT: 1*1\n1: 1\n", ""},
        GxnMessageCase{"ThreeLinesBeforeCount", BlockKind::GxnRfboAttCalFreq,
                       kFreqId + "a\nb\nc\nd\nCOUNT: 1*1\n1: 1\n",
                       "ERROR: Number of lines between ID: and COUNT: to large!\n"
                       "ERROR: Number of lines between ID: and COUNT: to large!\n"},
        GxnMessageCase{"TempCompLinesBeforeCount", BlockKind::GxnRfboTempCompFreq,
                       kTempId + "a\nb\nc\nCOUNT: 1*1\n1: 1\n",
                       "ERROR: Number of lines between ID: and COUNT: too large!\n"},
        GxnMessageCase{"RegisterFiveLinesBeforeCount", BlockKind::GxnRfboAttRegData,
                       kRegId + "a\nb\nc\nd\ne\nCOUNT: 1*1\n1: 1\n", ""},
        GxnMessageCase{"RegisterSixLinesBeforeCount", BlockKind::GxnRfboAttRegData,
                       kRegId + "a\nb\nc\nd\ne\nf\nCOUNT: 1*1\n1: 1\n",
                       "ERROR: Number of lines between ID and Count to large\n"},
        GxnMessageCase{"ColumnsInadequate", BlockKind::GxnRfboAttRegData,
                       kRegId + "COUNT: 2*4\n1: 1 2 3 4\n2: 1 2\n",
                       "ERROR: In Row =2: Number of columns read inadequate!\n"},
        GxnMessageCase{"ValuesBeyondTheCapacity", BlockKind::GxnRfboAttRegData,
                       kRegId + "COUNT: 1*5\n1: 1 2 3 4 5\n", ""},
        GxnMessageCase{"MoreValuesThanDeclared", BlockKind::GxnRfboAttRegData,
                       kRegId + "COUNT: 1*4\n1: 1 2 3 4 5\n",
                       "ERROR: In Row =1: Number of columns read inadequate!\n"},
        GxnMessageCase{"NoId", BlockKind::GxnRfboAttRegData, "COUNT: 1*1\n1: 1\n",
                       "ERROR: FOUND NO ID !\n"},
        GxnMessageCase{"NoCount", BlockKind::GxnRfboAttCalFreq, kFreqId + "1: 1\n",
                       "ERROR: FOUND NO COUNT VALUES !\n"},
        GxnMessageCase{"RegisterRowsMismatch", BlockKind::GxnRfboAttRegData,
                       kRegId + "COUNT: 3*1\n1: 1\n",
                       "ERROR: Row value (COUNT) don't not equal with number of rows\n"},
        GxnMessageCase{"NextIdLineEndsTheRows", BlockKind::GxnRfboAttCalFreq,
                       kFreqId + "COUNT: 1*1\n1: 1\n\n# next block\nID:     OTHER\nCOUNT: 5*5\n",
                       ""},
        GxnMessageCase{"RowsBeyondTheCapacity", BlockKind::GxnRfboAttRegData,
                       [] {
                           std::string text = kRegId + "COUNT: 52*1\n";
                           for (int row = 1; row <= 52; ++row) {
                               text += std::to_string(row) + ": 7\n";
                           }
                           return text;
                       }(),
                       ""}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmap
