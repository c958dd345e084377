// The table block family in memory: layout, capacities, cells, loads.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>

#include "datablocks/blockcatalogue.h"
#include "datablocks/tables/tableclasses.h"
#include "tabletestsupport.h"

namespace quenmap {
namespace {

using test::Image;

// All words sum to 0. (verify() reads the length as signed and so passes every
// block of more than 32767 bytes.)
bool sumsToZero(const HwDatablock& block) {
    return block.verifyImage(block.data(), block.length());
}

class TableTypeTest : public ::testing::TestWithParam<const TableDescriptor*> {
  protected:
    const TableDescriptor& type() const { return *GetParam(); }
    std::uint32_t lastInstance() const { return type().instances - 1u; }
    std::unique_ptr<HwTableDatablock> create(std::uint32_t instance) const {
        std::unique_ptr<HwDatablock> block =
            createBlockForId(static_cast<std::uint16_t>(type().baseId + instance));
        auto* table = dynamic_cast<HwTableDatablock*>(block.get());
        EXPECT_NE(table, nullptr) << type().className;
        block.release();
        return std::unique_ptr<HwTableDatablock>(table);
    }
};

TEST_P(TableTypeTest, CatalogueRowMatchesTheLayout) {
    const TableShape& shape = type().shape;
    const std::size_t trailer = shape.trailer == TableTrailer::RowLabels     ? 4u * shape.rows
                                : shape.trailer == TableTrailer::UserEntries ? 160u
                                                                             : 0u;
    EXPECT_EQ(type().size, 16 + test::widthOf(shape.cell) * shape.rows * shape.columns + trailer);
    const BlockType& row = blockType(type().kind);
    EXPECT_EQ(row.baseId, type().baseId);
    EXPECT_EQ(row.instances, type().instances);
    EXPECT_EQ(row.size, type().size);
    EXPECT_STREQ(row.className, type().className);
}

TEST_P(TableTypeTest, ConstructionWritesIdLengthAndZeroPayload) {
    for (std::uint32_t instance : {0u, lastInstance()}) {
        auto table = create(instance);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->id(), type().baseId + instance);
        EXPECT_EQ(table->length(), type().size);
        EXPECT_EQ(table->byteCount(), type().size);
        EXPECT_EQ(table->instance(), instance);
        EXPECT_EQ(table->baseId(), type().baseId);
        EXPECT_EQ(table->flag(), 1);
        EXPECT_STREQ(table->className(), type().className);
        std::string name = type().textName;
        if (type().instances > 1) name += "_" + std::to_string(instance);
        EXPECT_EQ(table->textName(), name);
        for (std::size_t i = 4; i < table->byteCount(); ++i) ASSERT_EQ(table->data()[i], 0) << i;
    }
}

TEST_P(TableTypeTest, CellsLieRowMajorWithTheColumnCapacityAsStride) {
    auto table = create(0);
    const TableShape& shape = type().shape;
    const std::uint32_t lastRow = shape.rows - 1, lastColumn = shape.columns - 1;
    // A second cell apart from the last one: in the next row, or in the
    // first column of a single-row table.
    const std::uint32_t row = shape.rows > 1 ? 1 : 0;
    const std::uint32_t column = shape.rows > 1 ? lastColumn : 0;
    table->setStoredCell(row, column, 7);
    table->setStoredCell(lastRow, lastColumn, 100);
    Image bytes = table->byteArray();
    const std::size_t width = test::widthOf(shape.cell);
    auto stored = [&](std::uint32_t r, std::uint32_t c) {
        std::uint64_t raw = test::getLittleEndian(bytes, test::cellAt(type(), r, c), width);
        if (shape.cell == CellType::F64) {
            double value;
            std::memcpy(&value, &raw, sizeof value);
            return value;
        }
        if (shape.cell == CellType::F32) {
            float value;
            auto bits = static_cast<std::uint32_t>(raw);
            std::memcpy(&value, &bits, sizeof value);
            return static_cast<double>(value);
        }
        return static_cast<double>(raw);
    };
    if (row != lastRow || column != lastColumn) {
        EXPECT_EQ(stored(row, column), 7.0);
    }
    EXPECT_EQ(stored(lastRow, lastColumn), 100.0);
    EXPECT_EQ(table->cell(lastRow, lastColumn), 100.0 * type().scale);
    EXPECT_TRUE(sumsToZero(*table));

    // Beyond the capacity: getters answer 0, setters change nothing.
    table->setStoredCell(shape.rows, 0, 5);
    table->setStoredCell(0, shape.columns, 5);
    EXPECT_EQ(table->byteArray(), bytes);
    EXPECT_EQ(table->cell(shape.rows, 0), 0.0);
    EXPECT_EQ(table->cell(0, shape.columns), 0.0);
    EXPECT_EQ(table->rawCell(shape.rows, lastColumn), 0);
}

TEST_P(TableTypeTest, CountsAndRowLabelsRefreshTheChecksum) {
    auto table = create(0);
    table->setRowsInUse(3);
    table->setColumnsInUse(0x01020304);
    EXPECT_EQ(table->rowsInUse(), 3u);
    EXPECT_EQ(table->columnsInUse(), 0x01020304u);
    EXPECT_TRUE(sumsToZero(*table));
    Image bytes = table->byteArray();
    EXPECT_EQ(test::getLittleEndian(bytes, 8, 4), 3u);
    EXPECT_EQ(test::getLittleEndian(bytes, 12, 4), 0x01020304u);

    table->setRowLabel(type().shape.rows - 1, 77);
    if (type().shape.trailer == TableTrailer::RowLabels) {
        EXPECT_EQ(table->rowLabel(type().shape.rows - 1), 77u);
        EXPECT_EQ(test::getLittleEndian(table->byteArray(), type().size - 4, 4), 77u);
    } else {
        EXPECT_EQ(table->byteArray(), bytes);
        EXPECT_EQ(table->rowLabel(0), 0u);
    }
    EXPECT_TRUE(sumsToZero(*table));
}

TEST_P(TableTypeTest, LoadsAValidImageAndRejectsAFlippedBitOrAShortBuffer) {
    std::mt19937 random(type().baseId);
    Image image(type().size);
    for (auto& byte : image) byte = static_cast<std::uint8_t>(random());
    test::putLittleEndian(image, 0, type().baseId + lastInstance(), 2);
    test::putLittleEndian(image, 2, type().size, 2);
    test::putLittleEndian(image, 6, 0, 2);
    test::sealChecksum(image);

    auto table = create(0);
    ASSERT_EQ(table->setFromImage(image.data(), image.size()), kLoaded);
    EXPECT_TRUE(sumsToZero(*table));
    EXPECT_EQ(table->byteArray(), image);
    EXPECT_EQ(table->id(), type().baseId + lastInstance());

    const Image loaded = table->byteArray();
    Image flipped = image;
    flipped[image.size() / 2] ^= 0x10;
    EXPECT_EQ(table->setFromImage(flipped.data(), flipped.size()), kRejected);
    EXPECT_EQ(table->byteArray(), loaded);

    // One byte short: rejected without reading past the buffer.
    std::vector<std::uint8_t> shorter(image.begin(), image.end() - 1);
    EXPECT_EQ(table->setFromImage(shorter.data(), shorter.size()), kRejected);
    EXPECT_EQ(table->byteArray(), loaded);
}

TEST_P(TableTypeTest, LoadDropsANonZeroHeaderWord3AndKeepsTheImageChecksum) {
    Image image = test::tableImage(type(), 0, 1, 1);
    test::putLittleEndian(image, 6, 0x1234, 2);
    test::sealChecksum(image);
    auto table = create(0);
    ASSERT_EQ(table->setFromImage(image.data(), image.size()), kLoaded);
    EXPECT_EQ(table->headerWord3(), 0);
    EXPECT_EQ(table->checksum(), test::getLittleEndian(image, 4, 2));
    EXPECT_FALSE(sumsToZero(*table));
}

INSTANTIATE_TEST_SUITE_P(Table, TableTypeTest, ::testing::ValuesIn(test::allTableTypes()),
                         [](const auto& row) { return test::kindName(row.param); });

TEST(TableCatalogue, EveryIdBelongsToOneTableType) {
    std::set<std::uint32_t> ids;
    for (const TableDescriptor* type : test::allTableTypes()) {
        for (std::uint32_t i = 0; i < type->instances; ++i) {
            EXPECT_TRUE(ids.insert(type->baseId + i).second) << type->baseId + i;
            const BlockType* owner = blockTypeForId(static_cast<std::uint16_t>(type->baseId + i));
            ASSERT_NE(owner, nullptr);
            EXPECT_EQ(owner->kind, type->kind);
        }
    }
    // 77 single tables, ten vector tables and three families of fourteen.
    EXPECT_EQ(ids.size(), 77u + 10u + 3u * 14u);
}

TEST(TableCatalogue, InstanceTablesTakeTheirIdsAndNamesFromTheInstance) {
    HwDatablockGxlwVectorLevconTempData vector(2);
    EXPECT_EQ(vector.id(), 15855);
    EXPECT_EQ(vector.textName(), "VECTOR_LEVCON_TEMP_DATA_2");
    EXPECT_EQ(vector.length(), 6416);

    auto sensor = createBlockForId(15646);
    auto* table = dynamic_cast<HwTableDatablock*>(sensor.get());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->textName(), "DVK_WIQ_SENSOR1_DATA_12");
    EXPECT_EQ(table->length(), 616);
    EXPECT_EQ(table->rowCapacity(), 50u);
    EXPECT_EQ(table->columnCapacity(), 3u);

    HwDatablockDvkWiqRfimbalanceData imbalance(13);
    EXPECT_EQ(imbalance.id(), 15619);
    EXPECT_EQ(imbalance.textName(), "DVK_WIQ_RFIMBALANCE_DATA_13");
    EXPECT_EQ(imbalance.length(), 1416);
}

TEST(TableCatalogue, ConfigurableTablesTakeTheirShapeFromTheCreator) {
    HwTableDatablock table({3, 5, CellType::I32, TableTrailer::None}, "ANY_TABLE", 12000, 4, 2.5,
                           TableTextForm::Configurable, "HwAnyTable", 0);
    EXPECT_EQ(table.id(), 12004);
    EXPECT_EQ(table.length(), 16 + 3 * 5 * 4);
    EXPECT_EQ(table.flag(), 0);
    table.setStoredCell(2, 4, -3);
    EXPECT_EQ(test::getLittleEndian(table.byteArray(), 16 + 4 * (2 * 5 + 4), 4), 0xFFFFFFFDu);
    EXPECT_EQ(table.cell(2, 4), -7.5);
}

TEST(TableCells, RflevelMaxDataScalesByOneHundredth) {
    HwDatablockGxlRfboRflevelMaxData table;
    table.setStoredCell(1, 127, 1234);
    EXPECT_DOUBLE_EQ(table.cell(1, 127), 12.34);
    EXPECT_EQ(table.rawCell(1, 127), 1234);
}

TEST(TableCells, SignednessAndRangeFollowTheCellType) {
    struct Case {
        CellType cell;
        double stored;
        std::int64_t raw;
    };
    const Case cases[] = {
        {CellType::U8, 255, 255},
        {CellType::U8, 300, 255},
        {CellType::U8, -4, 0},
        {CellType::I16, -1, -1},
        {CellType::I16, 40000, 32767},
        {CellType::U16, 65535, 65535},
        {CellType::I32, -2147483648.0, -2147483647 - 1},
        {CellType::I32, 1e12, 2147483647},
        {CellType::I32, -12.9, -12},
        {CellType::U32, 4294967295.0, 4294967295},
        {CellType::U32, std::nan(""), 0},
    };
    for (const Case& c : cases) {
        HwTableDatablock table({2, 2, c.cell, TableTrailer::None}, "T", 1, 0, 1.0,
                               TableTextForm::Generic, "T", 1);
        table.setStoredCell(1, 1, c.stored);
        EXPECT_EQ(table.rawCell(1, 1), c.raw) << static_cast<int>(c.cell) << " " << c.stored;
        EXPECT_TRUE(sumsToZero(table));
    }
}

TEST(TableCells, RealCellsKeepTheirValue) {
    HwDatablockGxnRfboAttCalFreq frequencies;
    frequencies.setStoredCell(199, 0, 123.456);
    EXPECT_EQ(frequencies.storedCell(199, 0), 123.456);
    EXPECT_DOUBLE_EQ(frequencies.cell(199, 0), 12345.6);
    HwDatablockGxnRfboAttRegAttenuation attenuation;
    attenuation.setStoredCell(49, 3, 31.75);
    EXPECT_EQ(attenuation.storedCell(49, 3), 31.75);
    EXPECT_EQ(test::getLittleEndian(attenuation.byteArray(), 16 + 4 * (49 * 4 + 3), 4),
              0x41FE0000u);
}

TEST(TcxoCalibration, SetterStoresReadsBackAndRejectsRowsFromEight) {
    HwDatablockGxlRfboTcxoCal table;
    EXPECT_EQ(table.setTcxoValue(-123456, 7), 0);
    EXPECT_EQ(table.rawCell(7, 0), -123456);
    EXPECT_TRUE(sumsToZero(table));
    const Image before = table.byteArray();
    EXPECT_EQ(table.setTcxoValue(5, 8), -1);
    EXPECT_EQ(table.setTcxoValue(5, 0xFFFFFFFFu), -1);
    EXPECT_EQ(table.byteArray(), before);
}

}  // namespace
}  // namespace quenmap
