// The generic table text form and readTableText: every table type converts in
// both directions, and the reader's diagnostics leave the run going.

#include "text/tabletext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "conversionsupport.h"
#include "datablocks/blockcatalogue.h"
#include "datablocks/tables/tableclasses.h"
#include "tabletestsupport.h"

namespace quenmap {
namespace {

using test::Image;

// A stored value per cell that fits the cell type and has both signs where
// the type has them.
std::int64_t sampleCell(CellType cell, std::uint32_t row, std::uint32_t column) {
    const std::int64_t base = row * 7 + column * 3 + 1;
    const std::int64_t sign = column % 2 == 1 ? -1 : 1;
    switch (cell) {
        case CellType::U8:
            return 250 - base;
        case CellType::U16:
            return 60000 + base;
        case CellType::I16:
            return sign * base * 111;
        default:
            return sign * base * 123457;
    }
}

struct Sample {
    std::string text;
    Image image;
};

// A table of up to 3 rows and 4 columns in use, as text in the writer's form
// and as the image "-b" must make of it.
Sample genericSample(const TableDescriptor& type, std::uint32_t instance) {
    const std::uint32_t rows = std::min(type.shape.rows, 3u);
    const std::uint32_t columns = std::min(type.shape.columns, 4u);
    const char* format = type.form == TableTextForm::Configurable ? "%.5f" : "%.3f";
    std::string name = type.textName;
    if (type.instances > 1) name += "_" + std::to_string(instance);

    Sample sample;
    sample.image = test::tableImage(type, instance, rows, columns);
    sample.text =
        "ID:  " + name + "\nCOUNT:  " + std::to_string(rows) + "*" + std::to_string(columns) + "\n";
    const std::size_t width = test::widthOf(type.shape.cell);
    for (std::uint32_t r = 0; r < rows; ++r) {
        sample.text += std::to_string(r + 1) + (rows > columns && columns == 1 ? ":  " : ": ");
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::int64_t stored = sampleCell(type.shape.cell, r, c);
            test::putLittleEndian(sample.image, test::cellAt(type, r, c),
                                  static_cast<std::uint64_t>(stored), width);
            if (columns > 1 || rows <= columns) sample.text += "\t";
            sample.text += test::printed(format, static_cast<double>(stored) * type.scale);
        }
        sample.text += "\n";
        if (type.shape.trailer == TableTrailer::RowLabels) {
            test::putLittleEndian(sample.image, type.shape.trailerOffset() + 4 * r, r + 1, 4);
        }
    }
    sample.text += "\n";
    test::sealChecksum(sample.image);
    return sample;
}

std::vector<const TableDescriptor*> genericTypes() {
    std::vector<const TableDescriptor*> types;
    for (const TableDescriptor* type : test::allTableTypes()) {
        if (type->form == TableTextForm::Generic || type->form == TableTextForm::Configurable) {
            types.push_back(type);
        }
    }
    return types;
}

// The types a single-block conversion can name (all but the two VECTOR
// RFLEVEL_MAX tables, which neither a name nor the dispatch reaches).
std::vector<const TableDescriptor*> namedGenericTypes() {
    std::vector<const TableDescriptor*> types;
    for (const TableDescriptor* type : genericTypes()) {
        if (test::blockNameOfId().count(type->baseId) != 0) types.push_back(type);
    }
    return types;
}

class GenericTableText : public ::testing::TestWithParam<const TableDescriptor*> {};
class NamedGenericTableText : public GenericTableText {};

TEST_P(NamedGenericTableText, SingleBlockConvertsBothWaysByteForByte) {
    const TableDescriptor& type = *GetParam();
    const std::uint32_t instance = type.instances - 1u;
    const auto name =
        test::blockNameOfId().find(static_cast<std::uint16_t>(type.baseId + instance));
    ASSERT_NE(name, test::blockNameOfId().end());
    const Sample sample = genericSample(type, instance);

    const test::Outcome binary = test::textToBinary("# head\n\n" + sample.text, name->second);
    ASSERT_EQ(binary.status, 0) << binary.errors;
    EXPECT_EQ(binary.output, test::asString(sample.image));
    EXPECT_EQ(binary.diagnostics, "");

    const test::Outcome text = test::binaryToText(binary.output);
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(text.output, sample.text);

    const test::Outcome again = test::textToBinary(text.output, name->second);
    EXPECT_EQ(again.output, binary.output);
}

TEST_P(GenericTableText, ReaderAndWriterWorkOnTheObject) {
    const TableDescriptor& type = *GetParam();
    const Sample sample = genericSample(type, 0);
    std::istringstream in(sample.text);
    std::ostringstream diagnostics;
    TextInput text(in, diagnostics);
    auto block = createBlockForId(type.baseId);
    readTableBlockText(text, *block);
    EXPECT_EQ(block->byteArray(), sample.image);
    EXPECT_EQ(diagnostics.str(), "");
    std::ostringstream out;
    block->writeText(out);
    EXPECT_EQ(out.str(), sample.text);
}

INSTANTIATE_TEST_SUITE_P(Table, GenericTableText, ::testing::ValuesIn(genericTypes()),
                         [](const auto& row) { return test::kindName(row.param); });
INSTANTIATE_TEST_SUITE_P(Table, NamedGenericTableText, ::testing::ValuesIn(namedGenericTypes()),
                         [](const auto& row) { return test::kindName(row.param); });

// Reads a text into a fresh block of the id and answers the diagnostics.
std::string readInto(HwDatablock& block, const std::string& text) {
    std::istringstream in(text);
    std::ostringstream diagnostics;
    TextInput input(in, diagnostics);
    readTableBlockText(input, block);
    return diagnostics.str();
}

const char kColumnMessage[] = " correspondent the number of columns not with the given value\n";
const char kRowsMessage[] = "ERROR: Row value (COUNT) don't not equal with number of rows\n";

struct DiagnosticCase {
    const char* name;
    const char* text;
    std::string diagnostics;
    std::uint32_t rows, columns;
    std::vector<std::vector<std::int64_t>> cells;  // expected stored cells from (0, 0)
    std::uint16_t id;
};

class TableDiagnostics : public ::testing::TestWithParam<DiagnosticCase> {};

// RFBO_ALC_DATA: 4 x 10 cells, scale 1.0.
TEST_P(TableDiagnostics, ReportsOnStandardOutputAndKeepsWhatWasRead) {
    const DiagnosticCase& c = GetParam();
    HwDatablockGxlRfboAlcData block;
    EXPECT_EQ(readInto(block, c.text), c.diagnostics);
    EXPECT_EQ(block.id(), c.id);
    EXPECT_EQ(block.rowsInUse(), c.rows);
    EXPECT_EQ(block.columnsInUse(), c.columns);
    for (std::uint32_t r = 0; r < 4; ++r) {
        for (std::uint32_t col = 0; col < 10; ++col) {
            std::int64_t expected = 0;
            if (r < c.cells.size() && col < c.cells[r].size()) expected = c.cells[r][col];
            EXPECT_EQ(block.rawCell(r, col), expected) << r << "," << col;
        }
    }
    EXPECT_TRUE(block.verify());
}

const std::string kSixLines = "ID:  RFBO_ALC_DATA\na\nb\nc\nd\ne\n";

INSTANTIATE_TEST_SUITE_P(
    Table, TableDiagnostics,
    ::testing::Values(
        DiagnosticCase{"RowWithTooFewColumns",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  3*4\n1: 1 2 3 4\n2: 5 6 7\n3: 8 9 10 11\n",
                       std::string("ERROR: In Row =2") + kColumnMessage,
                       3,
                       4,
                       {{1, 2, 3, 4}, {5, 6, 7, 0}, {8, 9, 10, 11}},
                       15731},
        DiagnosticCase{"FiveLinesBetweenIdAndCount",
                       "ID:  RFBO_ALC_DATA\na\nb\nc\nd\ne\nCOUNT:  1*1\n1: 5\n",
                       "",
                       1,
                       1,
                       {{5}},
                       15731},
        DiagnosticCase{"SixLinesBetweenIdAndCount",
                       "ID:  RFBO_ALC_DATA\na\nb\n# not counted\n\nc\nd\ne\nf\nCOUNT:  1*1\n1: 5\n",
                       "ERROR: Number of lines between ID and Count to large\n",
                       1,
                       1,
                       {{5}},
                       15731},
        DiagnosticCase{"NoId",
                       "ID:  RFBO_ALC_FREQ\nCOUNT:  1*1\n1: 5\n",
                       "ERROR: FOUND NO ID !\n",
                       0,
                       0,
                       {},
                       0},
        DiagnosticCase{"NoCount",
                       "ID:  RFBO_ALC_DATA\n1: 5\n",
                       "ERROR: FOUND NO COUNT VALUES !\n",
                       0,
                       0,
                       {},
                       15731},
        DiagnosticCase{
            "RowCountMismatch",
            "ID:  RFBO_ALC_DATA\nCOUNT:  3*1\n1: 5\n\n2: 6\nno colon ends the rows\n3: 7\n",
            kRowsMessage,
            3,
            1,
            {{5}, {6}},
            15731},
        DiagnosticCase{"DecimalPointIsReadAsADecimalNumber",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*3\n1: 12.5\t-7.999 3\n",
                       "",
                       1,
                       3,
                       {{12, -7, 3}},
                       15731},
        DiagnosticCase{"FieldThatIsNoNumberEndsTheRow",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*3\n1: 4 x 6\n",
                       std::string("ERROR: In Row =1") + kColumnMessage,
                       1,
                       3,
                       {{4}},
                       15731},
        DiagnosticCase{"CommentsAreCut",
                       "ID:  RFBO_ALC_DATA   # the table\nCOUNT:  2*2 # two by two\n"
                       "1: 1 2 # 3 4\n# a comment line between rows\n2: 5 6\n",
                       "",
                       2,
                       2,
                       {{1, 2}, {5, 6}},
                       15731},
        DiagnosticCase{"BlanksAroundTheStar",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  2 * 1\n1: 1\n2: 2\n",
                       "",
                       2,
                       1,
                       {{1}, {2}},
                       15731},
        DiagnosticCase{"CarriageReturnsAreBlank",
                       "ID:  RFBO_ALC_DATA\r\nCOUNT:  1*2\r\n1: 1\t2\r\n\r\n",
                       "",
                       1,
                       2,
                       {{1, 2}},
                       15731},
        DiagnosticCase{"RowsBeyondTheCapacityAreDropped",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  6*1\n1: 1\n2: 2\n3: 3\n4: 4\n5: 5\n6: 6\n",
                       "",
                       6,
                       1,
                       {{1}, {2}, {3}, {4}},
                       15731},
        DiagnosticCase{"ValuesBeyondTheCapacityAreDropped",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*12\n1: 1 2 3 4 5 6 7 8 9 10 11 12\n",
                       "",
                       1,
                       12,
                       {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                       15731},
        DiagnosticCase{"MoreValuesThanDeclaredAreCountedAsRead",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*10\n1: 1 2 3 4 5 6 7 8 9 10 11 12\n",
                       std::string("ERROR: In Row =1") + kColumnMessage,
                       1,
                       10,
                       {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                       15731},
        DiagnosticCase{"TheNextIdLineEndsTheRows",
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*1\n1: 9\nID:  RFBO_ALC_FREQ\nCOUNT:  2*1\n"
                       "1:  100.000\n",
                       "",
                       1,
                       1,
                       {{9}},
                       15731},
        DiagnosticCase{"NameMustBeAWholeToken",
                       "ID:  RFBO_ALC_DATA_X\nCOUNT:  1*1\n1: 1\n\nID:RFBO_ALC_DATA\n"
                       "ID:  RFBO_ALC_DATA\nCOUNT:  1*1\n1: 2\n",
                       "",
                       1,
                       1,
                       {{2}},
                       15731}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TableText, ScaledValuesComeBackToTheCellTheyWerePrintedFrom) {
    HwDatablockGxlRfboRflevelMaxData block;
    EXPECT_EQ(readInto(block,
                       "ID:  RFBO_RFLEVEL_MAX_DATA\nCOUNT:  1*4\n"
                       "1: \t12.340\t-230355.860\t0.070\t-0.010\n"),
              "");
    EXPECT_EQ(block.rawCell(0, 0), 1234);
    EXPECT_EQ(block.rawCell(0, 1), -23035586);
    EXPECT_EQ(block.rawCell(0, 2), 7);
    EXPECT_EQ(block.rawCell(0, 3), -1);
    std::ostringstream out;
    block.writeText(out);
    EXPECT_EQ(
        out.str(),
        "ID:  RFBO_RFLEVEL_MAX_DATA\nCOUNT:  1*4\n1: \t12.340\t-230355.860\t0.070\t-0.010\n\n");
}

TEST(TableText, RowLabelsGoToTheTrailer) {
    HwDatablockGxlRfboAttCalData block;
    readInto(block, "ID:  RFBO_ATT_CAL_DATA\nCOUNT:  2*2\n5: 1 2\n  10  : 3 4\n");
    EXPECT_EQ(block.rowLabel(0), 5u);
    EXPECT_EQ(block.rowLabel(1), 10u);
    EXPECT_EQ(block.rawCell(1, 1), 4);
}

TEST(TableText, SimilarNamesDoNotTakeEachOthersSection) {
    const std::string text =
        "ID:  VECTOR_LEVCON_TEMP_FREQ\nCOUNT:  2*1\n1:  300.000\n2:  400.000\n\n"
        "ID:  VECTOR_LEVCON_TEMP\nCOUNT:  1*1\n1: \t17.000\n\n"
        "ID:  LIMITER_MAX_VOLTAGE_PUM_ON\nCOUNT:  1*1\n1: \t200000.00000\n\n"
        "ID:  LIMITER_MAX_VOLTAGE\nCOUNT:  1*1\n1: \t300000.00000\n\n";
    HwDatablockGxlwVectorLevconTemp levcon;
    EXPECT_EQ(readInto(levcon, text), "");
    EXPECT_EQ(levcon.rowsInUse(), 1u);
    EXPECT_EQ(levcon.rawCell(0, 0), 17);
    HwDatablockGxpDconLimiterMaxVoltData limiter;
    EXPECT_EQ(readInto(limiter, text), "");
    EXPECT_EQ(limiter.rawCell(0, 0), 3);
}

TEST(TableText, WriterNumbersRowsAndChoosesTheCellFormOnlyForOneColumn) {
    HwDatablockGxlRfboAlcData block;  // 4 x 10
    block.setRowsInUse(3);
    block.setColumnsInUse(1);
    block.setStoredCell(0, 0, 1);
    block.setStoredCell(2, 0, -2);
    std::ostringstream cells;
    block.writeText(cells);
    EXPECT_EQ(cells.str(), "ID:  RFBO_ALC_DATA\nCOUNT:  3*1\n1:  1.000\n2:  0.000\n3:  -2.000\n\n");

    // More rows than columns, but two columns: one line per row.
    block.setColumnsInUse(2);
    std::ostringstream rows;
    block.writeText(rows);
    EXPECT_EQ(rows.str(),
              "ID:  RFBO_ALC_DATA\nCOUNT:  3*2\n1: \t1.000\t0.000\n"
              "2: \t0.000\t0.000\n3: \t-2.000\t0.000\n\n");

    // A corrupt count prints no more than the table holds.
    block.setRowsInUse(0xFFFFFFFFu);
    block.setColumnsInUse(0xFFFFFFFFu);
    std::ostringstream out;
    block.writeText(out);
    const std::string corrupt = out.str();
    EXPECT_EQ(std::count(corrupt.begin(), corrupt.end(), '\n'), 2 + 4 + 1);
    EXPECT_EQ(std::count(corrupt.begin(), corrupt.end(), '\t'), 4 * 10);
}

TEST(TableText, DiagnosticsGoToStandardOutputAndTheRunSucceeds) {
    const test::Outcome outcome = test::textToBinary("ID:  RFBO_TCXO_CAL\nCOUNT:  2*1\n1:  5.000\n",
                                                     "BLOCK_GXL_RFBO_TCXO_CAL");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.diagnostics, kRowsMessage);
    EXPECT_EQ(outcome.errors, "");
    ASSERT_EQ(outcome.output.size(), 48u);
    EXPECT_EQ(static_cast<unsigned char>(outcome.output[16]), 5);
}

TEST(TableText, ComesBackUnchangedAfterAnotherTable) {
    // -a of an image holding two tables, read back table by table.
    const test::Outcome first = test::textToBinary(
        "ID:  RFBO_ALC_FREQ\nCOUNT:  2*1\n1:  1000.000\n2:  2000.000\n", "BLOCK_GXL_RFBO_ALC_FREQ");
    const test::Outcome second = test::textToBinary(
        "ID:  RFBO_ALC_DATA\nCOUNT:  1*2\n1: \t-1.000\t1.000\n", "BLOCK_GXL_RFBO_ALC_DATA");
    const test::Outcome text = test::binaryToText(first.output + second.output);
    ASSERT_EQ(text.status, 0);
    EXPECT_EQ(test::textToBinary(text.output, "BLOCK_GXL_RFBO_ALC_FREQ").output, first.output);
    EXPECT_EQ(test::textToBinary(text.output, "BLOCK_GXL_RFBO_ALC_DATA").output, second.output);
    EXPECT_EQ(test::textToBinary(text.output, "BLOCK_GXL_RFBO_ALC_DATA").diagnostics, "");
}

const char kDconCommonBlocks[] =
    "# Das sind die Kopfdaten\n"
    "ID:              IDENT_2\n"
    "ALIGNMENT:       16\n"
    "EEPROMSIZE:      8192\n"
    "PARTNUMBER:      1141.2005.02\n"
    "HWCODE:          3\n"
    "PRODUCTINDEX:    01.02\n"
    "SN:              100234\n"
    "PRODUCTDATE:     2006-03-15\n"
    "READCODE:        0\n"
    "TESTINSTRUCTION: 01.00\n"
    "NAME:            DCON\n"
    "\n"
    "ID:              MODIFICATION_100\n"
    "SERVICECODE:     1\n"
    "SERVICECODE:     2\n"
    "SERVICECODE:     3\n"
    "SERVICECODE:     4\n"
    "SERVICECODE:     5\n"
    "SERVICECODE:     6\n"
    "SERVICECODE:     7\n"
    "SERVICECODE:     8\n"
    "SERVICECODE:     9\n"
    "SERVICECODE:     10\n"
    "\n"
    "ID:              SERVICE_201\n"
    "DEPARTMENT:      QSTE1\n"
    "SERVICEDATE:     2019-11-04\n"
    "OPHOURS:         00123/450000\n"
    "REPAIRNUMBER:    17\n"
    "SERVICECODE:     4\n"
    "\n"
    "ID:              STATISTICS_300\n"
    "OPHOURS:         00471/000042\n"
    "\n";

// The blocks of an image in order, by their ids.
std::vector<std::uint16_t> blockIds(const std::string& image) {
    std::vector<std::uint16_t> ids;
    std::size_t at = 0;
    while (at + 4 <= image.size()) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(image[at + i]); };
        const std::uint16_t id = static_cast<std::uint16_t>(byte(0) | (byte(1) << 8));
        ids.push_back(id);
        if (id == 0xFFFF) break;
        at += static_cast<std::size_t>(byte(2) | (byte(3) << 8));
    }
    return ids;
}

TEST(TableText, DconBoardConvertsItsFiveTablesInBothOrders) {
    const std::string text = std::string(kDconCommonBlocks) +
                             "ID:  LIMITER_MAX_VOLTAGE_PUM_ON\nCOUNT:  2*1\n"
                             "1:  1.50000\n2:  2.25000\n\n"
                             "ID:  GXP_DCON_LEVELPRE2\nCOUNT:  1*1\n1: \t-3.00000\n\n"
                             "ID:  LIMITER_MAX_VOLTAGE\nCOUNT:  2*1\n"
                             "1:  100000.00000\n2:  250000.00000\n\n"
                             "ID:  GXP_DCON_VTRIM_VALUE\nCOUNT:  2*1\n1:  7.00000\n2:  8.00000\n\n"
                             "ID:  LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:  1*1\n1: \t2200000.00000\n\n"
                             "# Das ist der END Block\nID:              END\n\n";
    const test::Outcome binary = test::textToBinary(text, "COMPLETE_EEPROM");
    ASSERT_EQ(binary.status, 0) << binary.errors;
    EXPECT_EQ(binary.diagnostics, "");
    EXPECT_EQ(blockIds(binary.output), (std::vector<std::uint16_t>{2, 100, 201, 300, 12310, 12311,
                                                                   12313, 12314, 12315, 0xFFFF}));

    const test::Outcome back = test::binaryToText(binary.output);
    ASSERT_EQ(back.status, 0);
    // Written with the scales "-b" reads with: 22 GHz stored as 22, 1.5 V as 0.
    EXPECT_NE(
        back.output.find("ID:  LIMITER_FREQUENCY_NODE_GHZ\nCOUNT:  1*1\n1: \t2200000.00000\n"),
        std::string::npos);
    EXPECT_NE(back.output.find("ID:  LIMITER_MAX_VOLTAGE\nCOUNT:  2*1\n"
                               "1:  100000.00000\n2:  200000.00000\n"),
              std::string::npos);
    EXPECT_NE(back.output.find("ID:  LIMITER_MAX_VOLTAGE_PUM_ON\nCOUNT:  2*1\n"
                               "1:  0.00000\n2:  0.00000\n"),
              std::string::npos);
    const test::Outcome again = test::textToBinary(back.output, "COMPLETE_EEPROM");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output, binary.output);
}

// Decimal fields read as the C library's strtod reads them, whichever way
// they are read: value, success and whether the whole field was a number.
TEST(TableText, DecimalFieldsReadAsStrtodReadsThem) {
    const char* fields[] = {"0",
                            "-0",
                            "12",
                            "-12.5",
                            ".5",
                            "-.5",
                            "1e3",
                            "1E-3",
                            "1e",
                            "1e+",
                            "12abc",
                            "+7",
                            "0x1p3",
                            "-0X10",
                            "0x",
                            "inf",
                            "-nan",
                            "1e400",
                            "1e-400",
                            "4.9e-324",
                            "123456789012345678901234567890",
                            "0.1",
                            "2.675",
                            "-",
                            ".",
                            "",
                            "1..2",
                            "007",
                            "-6405818000.00000"};
    for (const char* field : fields) {
        char* end = nullptr;
        const double expected = std::strtod(field, &end);
        const bool expectedOk = end != field && std::isfinite(expected);
        double value = -1.0;
        bool whole = false;
        ASSERT_EQ(table_text::parseDecimal(field, value, whole), expectedOk) << field;
        if (!expectedOk) continue;
        EXPECT_EQ(value, expected) << field;
        EXPECT_EQ(std::signbit(value), std::signbit(expected)) << field;
        EXPECT_EQ(whole, *end == '\0') << field;
    }
}

}  // namespace
}  // namespace quenmap
