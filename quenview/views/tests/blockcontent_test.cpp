// Decoding every block type from full-capacity images: a series exactly where
// the view row says, the counted rows only, "no value" markers absent, and the
// numbers the text writer prints.

#include "views/blockcontent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "datablocks/catalogueclasses.h"
#include "fullimage_blocks.h"
#include "views/viewtable.h"

namespace quenview {
namespace {

using quenmap::BlockType;
using testing::LoadedBlocks;

const BlockType& typeOf(std::uint16_t id) {
    return *quenmap::blockTypeForId(id);
}

std::string nameOf(std::uint16_t id) {
    return std::string(typeOf(id).className) + " " + std::to_string(id);
}

// Every row as wide as the columns, raw beside every value, one x label per
// row where the grid has labels.
void expectWellFormed(const Grid& grid, const std::string& where) {
    EXPECT_EQ(grid.values.size(), grid.raw.size()) << where;
    ASSERT_EQ(grid.values.size(), grid.rows() * grid.columns.size()) << where;
    EXPECT_TRUE(grid.xValues.empty() || grid.xValues.size() == grid.rows()) << where;
}

TEST(BlockContent, EveryTypeDecodesWithASeriesExactlyWhereItsViewRowSays) {
    const LoadedBlocks blocks(1.0);
    const CompanionLookup lookup = blocks.lookup();
    for (std::uint16_t id : blocks.ids()) {
        const quenmap::HwDatablock* block = blocks.block(id);
        ASSERT_NE(block, nullptr) << nameOf(id) << " did not load";
        const ViewRow& view = *viewRowFor(typeOf(id).kind);
        const BlockContent content = decodeContent(*block, typeOf(id), lookup);
        if (view.form == Form::None) {
            EXPECT_TRUE(content.fields.empty() && content.grids.empty()) << nameOf(id);
            continue;
        }
        EXPECT_FALSE(content.fields.empty() && content.grids.empty()) << nameOf(id);
        if (hasSeries(typeOf(id))) {
            EXPECT_FALSE(content.grids.empty()) << nameOf(id);
        }
        for (const Grid& grid : content.grids) {
            const std::string where = nameOf(id) + " " + grid.title;
            expectWellFormed(grid, where);
            EXPECT_EQ(grid.chart, hasSeries(typeOf(id))) << where;
            if (!grid.chart) continue;
            // Charted against the companion's values, every one of them known.
            ASSERT_EQ(grid.xValues.size(), grid.rows()) << where;
            EXPECT_FALSE(grid.values.empty()) << where;
            for (double x : grid.xValues) ASSERT_TRUE(std::isfinite(x)) << where;
        }
    }
}

// The count fields of a block's fill plan at half their capacity.
std::vector<std::size_t> halfCounts(quenmap::bench::ImageFactory& factory, std::uint16_t id) {
    quenmap::bench::FillPlan plan;
    std::vector<std::size_t> counts;
    if (!factory.planFor(id, plan)) return counts;
    for (const quenmap::bench::CountField& count : plan.counts) {
        counts.push_back(std::max<long>(std::lround(count.capacity * 0.5), 1));
    }
    return counts;
}

TEST(BlockContent, OnlyTheCountedContentIsData) {
    LoadedBlocks blocks(0.5);
    const CompanionLookup lookup = blocks.lookup();
    for (std::uint16_t id : blocks.ids()) {
        const BlockType& type = typeOf(id);
        const BlockContent content = decodeContent(*blocks.block(id), type, lookup);
        const std::vector<std::size_t> own = halfCounts(blocks.factory(), id);
        const std::optional<std::uint16_t> companion = companionIdOf(type, id);
        for (const Grid& grid : content.grids) {
            const std::string where = nameOf(id) + " " + grid.title;
            if (grid.chart) {
                // As many rows as the companion counts.
                const std::vector<std::size_t> counted = halfCounts(blocks.factory(), *companion);
                ASSERT_FALSE(counted.empty()) << where;
                EXPECT_EQ(grid.rows(), counted.front()) << where;
                // A matrix's rows are the grid's curves: as many as it counts,
                // or the rows its text always shows.
                const ViewRow& view = *viewRowFor(type.kind);
                if (view.series == Series::Matrix && view.form != Form::DetLinCorr) {
                    const std::size_t curves = view.rowsShown != 0 ? view.rowsShown : own.front();
                    EXPECT_EQ(grid.columns.size(), curves) << where;
                }
                // Two attenuations, then a DAC value per counted state.
                if (view.form == Form::IqOp6Calib) {
                    const auto states =
                        halfCounts(blocks.factory(),
                                   quenmap::blockType(quenmap::BlockKind::IqOp6PmaxBz).baseId);
                    EXPECT_EQ(grid.columns.size(), 2 + states.front()) << where;
                }
            } else if (!own.empty()) {
                EXPECT_NE(std::find(own.begin(), own.end(), grid.rows()), own.end())
                    << where << ": " << grid.rows() << " rows";
            }
        }
    }
}

TEST(BlockContent, CountsBeyondTheCapacityShowTheCapacity) {
    const LoadedBlocks full(1.0);
    const LoadedBlocks huge(1.0, testing::Counts::Huge);
    for (std::uint16_t id : full.ids()) {
        const BlockContent expected = decodeContent(*full.block(id), typeOf(id), full.lookup());
        const BlockContent content = decodeContent(*huge.block(id), typeOf(id), huge.lookup());
        ASSERT_EQ(content.grids.size(), expected.grids.size()) << nameOf(id);
        for (std::size_t g = 0; g < content.grids.size(); ++g) {
            EXPECT_EQ(content.grids[g].rows(), expected.grids[g].rows())
                << nameOf(id) << " " << content.grids[g].title;
            EXPECT_EQ(content.grids[g].columns.size(), expected.grids[g].columns.size())
                << nameOf(id) << " " << content.grids[g].title;
        }
    }
}

TEST(BlockContent, WithoutItsCompanionATypeStillDecodesOverRowNumbers) {
    LoadedBlocks blocks(0.5);
    struct Case {
        std::uint16_t id;
        std::size_t rows;  // the matrix keeps its capacity, the list its count
    };
    const Case cases[] = {{12060, quenmap::HwSDatablockMbrdExtLevCalData::kColumns},
                          {12110, halfCounts(blocks.factory(), 12110).front()}};
    for (const Case& test : cases) {
        const BlockContent content =
            decodeContent(*blocks.block(test.id), typeOf(test.id), CompanionLookup());
        ASSERT_EQ(content.grids.size(), 1u) << nameOf(test.id);
        const Grid& grid = content.grids.front();
        EXPECT_TRUE(grid.chart);
        EXPECT_TRUE(grid.xValues.empty());
        EXPECT_EQ(grid.rows(), test.rows) << nameOf(test.id);
    }
}

// A cell set to its type's "no value" marker.
struct MarkerCase {
    std::uint16_t id;
    std::size_t offset;  // of matrix cell (0, 0)
    std::size_t width;
    std::uint32_t marker;
};

const MarkerCase kMarkerCases[] = {
    {10602, quenmap::HwDatablockSAtt3CalibDataAtt::offsetOf(0, 0), 2, 20000},
    {11202, quenmap::HwDatablockSAtt6CalibDataTemp::offsetOf(0, 0), 1, 50},
    {12181, quenmap::HwSDatablockAttCalibData2Edition::offsetOf(0, 0), 2, 20000},
};

TEST(BlockContent, NoValueMarkersAreAbsentValues) {
    const LoadedBlocks blocks(1.0);
    for (const MarkerCase& test : kMarkerCases) {
        quenmap::Bytes image = blocks.block(test.id)->bytes();
        quenmap::writeRaw(image, test.offset, test.width, test.marker);
        quenmap::writeRaw(image, test.offset + test.width, test.width, test.marker + 1);
        quenmap::bench::sealBlock(image);
        const auto block = testing::loadBlock(image);
        ASSERT_NE(block, nullptr) << nameOf(test.id);
        const BlockContent content = decodeContent(*block, typeOf(test.id), blocks.lookup());
        ASSERT_FALSE(content.grids.empty());
        const Grid& grid = content.grids.front();
        // Matrix row 0 is the grid's first column.
        EXPECT_FALSE(grid.valueAt(0, 0).has_value()) << nameOf(test.id);
        EXPECT_EQ(grid.rawAt(0, 0), test.marker) << nameOf(test.id);
        EXPECT_EQ(grid.rawAt(1, 0), test.marker + 1);
        EXPECT_TRUE(grid.valueAt(1, 0).has_value()) << nameOf(test.id);
    }
}

// ---- the numbers of the text writer ------------------------------------------------

// The printed numbers are rounded to their decimals: the tolerances are half
// a last digit and a little more.

// The numbers of each value line of a block's text: the line's label is
// dropped, brackets are blanks.
std::vector<std::vector<double>> valueLines(const quenmap::HwDatablock& block) {
    std::ostringstream out;
    block.writeText(out);
    std::istringstream text(out.str());
    std::vector<std::vector<double>> lines;
    std::string line;
    while (std::getline(text, line)) {
        if (line.empty() || line[0] == '#' || line.find("ID:") != std::string::npos ||
            line.find("COUNT") != std::string::npos || line.find("LEV_PRE_TAB") == 0) {
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string values = line.substr(colon + 1);
        for (char& c : values) {
            if (c == '[' || c == ']') c = ' ';
        }
        std::vector<double> numbers;
        const char* at = values.c_str();
        for (char* end = nullptr;; at = end) {
            const double number = std::strtod(at, &end);
            if (end == at) break;
            numbers.push_back(number);
        }
        lines.push_back(std::move(numbers));
    }
    return lines;
}

struct TextCase {
    std::uint16_t id;
    double factor;     // value = printed * factor
    double tolerance;  // of the printed number
    bool transposed;   // a text line is a grid column
};

const TextCase kTextCases[] = {
    {10601, 1.0, 0.011, false},    // SATT3_CALIB_FREQ: 10 Hz units printed in Hz
    {12040, 1.0, 0.011, false},    // LEV_CAL_DAT_FREQ: 100 Hz units, "%.3f"
    {10901, 1.0, 0.05, false},     // IQOP6_CALIB_DATA_FREQ: MHz printed in Hz
    {12110, 1e-4, 1e-9, false},    // PATH_A_IQ_IMBALANCE_RF_EVEN_AMP: [1/10000]
    {12060, 1.0, 1e-9, true},      // EXT_CAL_DAT_A_LEVEL
    {10602, 0.01, 1e-9, true},     // SATT3_CALIB_DATA_ATT: [1/100dB]
    {10303, 1.0, 0.0006, false},   // IQOP3_RFM_CALIB_DATA: LEVATT in dB
    {15716, 1.0, 0.0006, true},    // RFBO_RFLEVEL_MAX_DATA: table scale 0.01
    {12301, 1.0, 0.000006, true},  // LOOPGAIN_PK: configurable table, scale 1000
    {15771, 1.0, 0.000001, true},  // BLOCK_GXN_RFBO_TEMP_COMP_DATA: truncated cells
};

TEST(BlockContent, PhysicalValuesAreTheTextWritersNumbersInTheirUnits) {
    const LoadedBlocks blocks(1.0);
    for (const TextCase& test : kTextCases) {
        const quenmap::HwDatablock& block = *blocks.block(test.id);
        const BlockContent content = decodeContent(block, typeOf(test.id), blocks.lookup());
        ASSERT_FALSE(content.grids.empty()) << nameOf(test.id);
        const Grid& grid = content.grids.front();
        const std::vector<std::vector<double>> lines = valueLines(block);
        std::size_t compared = 0;
        for (std::size_t r = 0; r < grid.rows(); ++r) {
            for (std::size_t c = 0; c < grid.columns.size(); ++c) {
                const std::size_t line = test.transposed ? c : r;
                const std::size_t at = test.transposed ? r : c;
                ASSERT_LT(line, lines.size()) << nameOf(test.id);
                ASSERT_LT(at, lines[line].size()) << nameOf(test.id) << " line " << line;
                const double printed = lines[line][at];
                if (!grid.valueAt(r, c)) {
                    EXPECT_EQ(grid.rawAt(r, c), printed) << nameOf(test.id);
                    continue;
                }
                EXPECT_NEAR(*grid.valueAt(r, c) / test.factor, printed, test.tolerance)
                    << nameOf(test.id) << " row " << r << " column " << c;
                ++compared;
            }
        }
        EXPECT_GT(compared, grid.rows() / 2) << nameOf(test.id);
    }
}

// Record fields against the value after their key in the text.
struct FieldCase {
    std::uint16_t id;
    const char* field;
    const char* key;
};

const FieldCase kFieldCases[] = {
    {2, "SN", "SN:"},
    {2, "PRODUCTDATE", "PRODUCTDATE:"},
    {2, "PARTNUMBER", "PARTNUMBER:"},
    {200, "REPAIRNUMBER", "REPAIRNUMBER:"},
    {10502, "TAZ", "TAZ:"},
    {10300, "HARM_FILT3", "HARM_FILT3:"},
    {12001, "MODEL", "MODEL:"},
};

TEST(BlockContent, RecordFieldsAreTheTextsFields) {
    const LoadedBlocks blocks(1.0);
    for (const FieldCase& test : kFieldCases) {
        const quenmap::HwDatablock& block = *blocks.block(test.id);
        const BlockContent content = decodeContent(block, typeOf(test.id), blocks.lookup());
        std::ostringstream out;
        block.writeText(out);
        const std::string text = out.str();
        const std::size_t key = text.find(test.key);
        ASSERT_NE(key, std::string::npos) << test.key;
        std::istringstream rest(text.substr(key + std::string(test.key).size()));
        std::string printed;
        rest >> printed;
        const Field* field = nullptr;
        for (const Field& candidate : content.fields) {
            if (candidate.name == test.field) field = &candidate;
        }
        ASSERT_NE(field, nullptr) << nameOf(test.id) << " " << test.field;
        if (field->text) {
            EXPECT_EQ(*field->text, printed) << test.field;
        } else {
            ASSERT_TRUE(field->value.has_value()) << test.field;
            EXPECT_EQ(*field->value, std::stod(printed)) << test.field;
        }
    }
}

}  // namespace
}  // namespace quenview
