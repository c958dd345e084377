#include "datablocks/commonrecords.h"

#include <gtest/gtest.h>

#include <sstream>

#include "datablocks/hwdatablockend.h"
#include "datablocks/hwdatablockident.h"

namespace quenmap {
namespace {

TEST(DatablockIdent, ConstructedLayout) {
    HwDatablockIdent ident;
    EXPECT_EQ(ident.id(), 2);
    EXPECT_EQ(ident.length(), 44);
    EXPECT_EQ(ident.byteCount(), 44u);
    EXPECT_FALSE(ident.verify());  // constructors leave the checksum to the first change
    HwDatablockMiscIdent aux(10504);
    EXPECT_EQ(aux.id(), 10504);
    EXPECT_EQ(aux.constructedId(), 10504);
}

TEST(DatablockIdent, FieldsAtTheirOffsets) {
    HwDatablockIdent ident;
    ident.setAlignment(16);
    ident.setEepromSize(8192);
    ident.setPartNumber(12345678);
    ident.setPartVariant(1);
    ident.setHardwareCode(3);
    ident.setProductIndex(102);
    ident.setSerialNumber(0x01020304);
    ident.setProductDate(packDate(2001, 2, 3));
    ident.setReadCode(0xBEEF);
    ident.setTestInstruction(200);
    ident.setUnitName("SSYN");
    const Bytes& b = ident.bytes();
    EXPECT_EQ(readU16(b, 6), 16);
    EXPECT_EQ(readU32(b, 8), 8192u);
    EXPECT_EQ(readU32(b, 12), 12345678u);
    EXPECT_EQ(b[16], 1);
    EXPECT_EQ(b[17], 3);
    EXPECT_EQ(readU16(b, 18), 102);
    EXPECT_EQ(readU32(b, 20), 0x01020304u);
    EXPECT_EQ(readU16(b, 24), 0x2A43);
    EXPECT_EQ(readU16(b, 26), 0xBEEF);
    EXPECT_EQ(readU16(b, 28), 200);
    EXPECT_EQ(std::string(b.begin() + 30, b.begin() + 44),
              std::string("SSYN\0\0\0\0\0\0\0\0\0\0", 14));
    EXPECT_TRUE(ident.verify());
    EXPECT_EQ(packDate(2006, 3, 15), 0x346F);
}

TEST(DatablockIdent, UnitNameOfFourteenAndFifteenCharacters) {
    HwDatablockIdent ident;
    ident.setUnitName("ABCDEFGHIJKLMN");
    EXPECT_EQ(ident.unitName(), "ABCDEFGHIJKLMN");
    EXPECT_EQ(ident.bytes()[43], 'N');
    ident.setUnitName("ABCDEFGHIJKLMNO");
    EXPECT_EQ(ident.unitName(), "ABCDEFGHIJKLMN");
}

TEST(DatablockIdent, LoadKeepsAlignmentAndStillVerifies) {
    HwDatablockIdent source;
    source.setAlignment(0x40);
    source.setSerialNumber(99);
    source.setId(10);
    HwDatablockIdent loaded;
    ASSERT_EQ(loaded.setFromImage(source.data(), 44), kLoaded);
    EXPECT_EQ(loaded.bytes(), source.bytes());
    EXPECT_EQ(loaded.id(), 10);
    EXPECT_TRUE(loaded.verify());
}

TEST(DatablockServiceData, ConstructedDepartmentAndCut) {
    HwDatablockServiceData service(205);
    EXPECT_EQ(service.id(), 205);
    EXPECT_EQ(service.length(), 24);
    EXPECT_EQ(service.department(), "000000");
    service.setDepartment("ABCDEFGH");
    EXPECT_EQ(service.department(), "ABCDE");
    EXPECT_EQ(service.bytes()[13], 0);
    service.setOperatingHours(123 * kHoursScale + 450000);
    EXPECT_EQ(readU32(service.bytes(), 16), 123450000u);
    EXPECT_TRUE(service.verify());
}

TEST(DatablockModification, TenCodesBounded) {
    HwDatablockModification modification;
    for (std::size_t i = 0; i < 10; ++i) {
        modification.setServiceCode(static_cast<std::uint16_t>(0xC000 + i), i);
    }
    modification.setServiceCode(7, 10);  // out of range: no effect
    EXPECT_EQ(modification.serviceCode(9), 0xC009);
    EXPECT_EQ(modification.serviceCode(10), 0);
    EXPECT_EQ(readU16(modification.bytes(), 26), 0xC009);
    EXPECT_EQ(modification.byteCount(), 28u);
    EXPECT_TRUE(modification.verify());
}

TEST(DatablockImage, BlocksWrittenBackToBack) {
    HwDatablockStatistic statistic;
    statistic.setOperatingHours(0x01020304);
    HwDatablockEnd end;
    std::ostringstream image;
    writeBlockImage(image, statistic);
    writeBlockImage(image, end);
    const std::string expected("\x2c\x01\x0c\x00\x00\x00\x00\x00\x04\x03\x02\x01\xff\xff\x00\x00",
                               16);
    std::string bytes = image.str();
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes.substr(0, 4), expected.substr(0, 4));
    EXPECT_EQ(bytes.substr(6), expected.substr(6));
    EXPECT_TRUE(statistic.verify());
    HwDatablock tooShort(1);
    tooShort.resize(3);
    std::ostringstream nothing;
    writeBlockImage(nothing, tooShort);
    EXPECT_TRUE(nothing.str().empty());
}

}  // namespace
}  // namespace quenmap
