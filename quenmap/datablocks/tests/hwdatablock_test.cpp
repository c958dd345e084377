#include "datablocks/hwdatablock.h"

#include <gtest/gtest.h>

#include "datablocks/errorreporter.h"
#include "datablocks/hwdatablockend.h"

namespace quenmap {
namespace {

// A plain block of a given size for exercising the base operations.
class TestBlock : public HwDatablock {
  public:
    explicit TestBlock(std::size_t size, std::uint16_t blockId = 0x1234) : HwDatablock(1) {
        initialise(blockId, size);
    }
    using HwDatablock::storeU16;
    Bytes& raw() { return bytes_; }
};

std::uint16_t wordSum(const Bytes& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) sum += bytes[i] | (bytes[i + 1] << 8);
    return static_cast<std::uint16_t>(sum);
}

TEST(DatablockChecksum, HeaderOnlyBlock) {
    HwDatablock block(1);
    block.setId(2);
    EXPECT_EQ(block.checksum(), 0xFFF6);  // -(2 + 8)
    EXPECT_TRUE(block.verify());
}

TEST(DatablockChecksum, CalcChecksumZeroesStoredWord) {
    TestBlock block(16);
    block.storeU16(8, 0xABCD);
    ASSERT_TRUE(block.verify());
    std::uint16_t expected = block.checksum();
    EXPECT_EQ(block.calcChecksum(), expected);
    EXPECT_EQ(block.checksum(), 0);
    EXPECT_FALSE(block.verify());
    block.setChecksum(expected);
    EXPECT_TRUE(block.verify());
}

TEST(DatablockChecksum, ChecksumOfIgnoresStoredChecksumAndOddByte) {
    HwDatablock block(1);
    std::uint8_t image[9] = {1, 0, 8, 0, 0x55, 0x66, 0, 0, 0x77};
    EXPECT_EQ(block.checksumOf(image, 9), static_cast<std::uint16_t>(0x10000 - 9));
    EXPECT_EQ(image[4], 0x55);  // the image is left as it was
}

TEST(DatablockVerify, EveryFlippedBitIsDetected) {
    TestBlock block(24);
    for (std::size_t i = 8; i < 24; i += 2) block.storeU16(i, static_cast<std::uint16_t>(i * 977));
    ASSERT_TRUE(block.verify());
    ASSERT_EQ(wordSum(block.bytes()), 0);
    for (std::size_t byte = 0; byte < 24; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes image = block.bytes();
            image[byte] ^= static_cast<std::uint8_t>(1 << bit);
            EXPECT_FALSE(block.verifyImage(image.data(), 24)) << byte << ":" << bit;
        }
    }
}

TEST(DatablockVerify, ShortAndNegativeLengths) {
    HwDatablock block(1);
    EXPECT_TRUE(block.verifyImage(nullptr, 0));
    std::uint8_t one = 0x55;
    EXPECT_TRUE(block.verifyImage(&one, 1));
    TestBlock negative(16);
    negative.raw()[2] = 0x00;
    negative.raw()[3] = 0x80;  // 0x8000 reads as negative
    negative.raw()[8] = 0x99;
    EXPECT_TRUE(negative.verify());
}

TEST(DatablockVerify, LengthFieldBeyondArrayIsBounded) {
    TestBlock block(8);
    block.raw()[2] = 0xFE;
    block.raw()[3] = 0x7F;  // claims 32766 bytes
    block.setChecksum(block.calcChecksum());
    EXPECT_TRUE(block.verify());
}

TEST(DatablockAccessors, ShortArraysAnswerZeroAndIgnoreSetters) {
    struct Case {
        std::size_t size;
        std::uint16_t id, length, checksum, word3;
    };
    const Case cases[] = {{0, 0, 0, 0, 0},
                          {1, 0, 0, 0, 0},
                          {3, 0xAAAA, 0, 0, 0},
                          {5, 0xAAAA, 0xBBBB, 0, 0},
                          {7, 0xAAAA, 0xBBBB, 0xCCCC, 0}};
    for (const Case& c : cases) {
        Bytes bytes = {0xAA, 0xAA, 0xBB, 0xBB, 0xCC, 0xCC, 0xDD};
        bytes.resize(c.size);
        TestBlock shortBlock(0);
        shortBlock.raw() = bytes;
        EXPECT_EQ(shortBlock.id(), c.id) << c.size;
        EXPECT_EQ(shortBlock.length(), c.length) << c.size;
        EXPECT_EQ(shortBlock.checksum(), c.checksum) << c.size;
        EXPECT_EQ(shortBlock.headerWord3(), c.word3) << c.size;
        // Setters whose field does not fit leave the bytes alone.
        shortBlock.setHeaderWord3(3);
        shortBlock.storeU16(8, 4);
        EXPECT_EQ(shortBlock.raw(), bytes) << c.size;
        shortBlock.setId(1);
        EXPECT_EQ(shortBlock.id(), c.size >= 2 ? 1 : 0) << c.size;
        shortBlock.setLength(2);
        EXPECT_EQ(readU16(shortBlock.raw(), 2), c.size >= 4 ? 2 : 0) << c.size;
        EXPECT_EQ(shortBlock.raw().size(), c.size);
    }
}

TEST(DatablockAccessors, EndIdAnswersLengthFour) {
    TestBlock block(8, 0xFFFF);
    block.raw()[2] = 0;
    EXPECT_EQ(block.length(), 4);
}

TEST(DatablockHeaderSetters, EachSetterRefreshesTheChecksum) {
    TestBlock block(12);
    block.setId(77);
    EXPECT_TRUE(block.verify());
    block.setLength(12);
    EXPECT_TRUE(block.verify());
    block.setHeaderWord3(0x0102);
    EXPECT_TRUE(block.verify());
    EXPECT_EQ(block.id(), 77);
    EXPECT_EQ(block.headerWord3(), 0x0102);
    block.setChecksum(1);  // stores only
    EXPECT_EQ(block.checksum(), 1);
}

TEST(DatablockSetData, AcceptsOnlyValidImages) {
    TestBlock source(16);
    source.storeU16(10, 0x4242);
    HwDatablock target(1);
    EXPECT_FALSE(target.setData(static_cast<const std::uint8_t*>(nullptr), 16));
    EXPECT_FALSE(target.setData(static_cast<const HwDatablock*>(nullptr)));
    EXPECT_TRUE(target.setData(source.data(), 16));
    EXPECT_EQ(target.byteArray(), source.bytes());

    Bytes broken = source.bytes();
    broken[12] ^= 1;
    HwDatablock unchanged(1);
    Bytes before = unchanged.byteArray();
    EXPECT_FALSE(unchanged.setData(broken));
    EXPECT_FALSE(unchanged.setData(broken.data(), 16));
    EXPECT_EQ(unchanged.byteArray(), before);
    EXPECT_TRUE(unchanged.setData(&source));
    EXPECT_EQ(unchanged.byteArray(), source.bytes());

    TestBlock invalid(16);
    invalid.raw()[12] = 9;  // checksum now wrong
    HwDatablock copy(1);
    EXPECT_FALSE(copy.setData(&invalid));
    EXPECT_TRUE(copy.copyFrom(&invalid));
    EXPECT_EQ(copy.byteArray(), invalid.bytes());
    EXPECT_FALSE(copy.copyFrom(nullptr));
}

TEST(DatablockSetFromImage, ForcedWord3IsDroppedButChecksumTaken) {
    TestBlock block(16, 500);
    TestBlock source(16, 500);
    source.storeU16(8, 0x1111);
    source.setHeaderWord3(0x0007);
    ASSERT_TRUE(source.verify());
    EXPECT_EQ(block.setFromImage(source.data(), 16), kLoaded);
    EXPECT_EQ(block.headerWord3(), 0);
    EXPECT_EQ(readU16(block.bytes(), 8), 0x1111);
    EXPECT_EQ(block.checksum(), source.checksum());
    EXPECT_FALSE(block.verify());  // the dropped word no longer sums to 0
}

TEST(DatablockSetFromImage, RejectsBadChecksumAndShortBuffers) {
    TestBlock source(16, 500);
    source.storeU16(8, 0x2222);
    TestBlock block(16, 1);
    Bytes before = block.bytes();
    Bytes broken = source.bytes();
    broken[9] ^= 0x10;
    EXPECT_EQ(block.setFromImage(broken.data(), broken.size()), kRejected);
    EXPECT_EQ(block.bytes(), before);
    // A buffer shorter than the class's size is never read past its end.
    Bytes shortImage(source.bytes().begin(), source.bytes().begin() + 10);
    EXPECT_EQ(block.setFromImage(shortImage.data(), shortImage.size()), kRejected);
    EXPECT_EQ(block.setFromImage(nullptr, 0), kRejected);
    EXPECT_EQ(block.bytes(), before);
}

TEST(DatablockAttributes, StoredAndAnswered) {
    HwDatablock block(0);
    EXPECT_EQ(block.flag(), 0);
    EXPECT_EQ(block.attributeA(), 0u);
    EXPECT_TRUE(block.setAttributeA(5));
    EXPECT_TRUE(block.setAttributeB(6));
    EXPECT_EQ(block.attributeA(), 5u);
    EXPECT_EQ(block.attributeB(), 6u);
    EXPECT_TRUE(block.resize(20));
    EXPECT_EQ(block.byteCount(), 20u);
}

TEST(DatablockEnd, FourBytesAlwaysValid) {
    HwDatablockEnd end;
    EXPECT_EQ(end.byteArray(), (Bytes{0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(end.length(), 4);
    EXPECT_TRUE(end.verify());
    EXPECT_EQ(end.calcChecksum(), 0);
    end.setChecksum(0x1234);
    EXPECT_EQ(end.checksum(), 0);
    EXPECT_EQ(end.byteArray(), (Bytes{0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(end.endImageChecksum(nullptr, 0), 0);
    EXPECT_TRUE(end.verifyEndImage(nullptr, 0));
}

TEST(DatablockErrorReporter, MessageTable) {
    EXPECT_EQ(errorMessageText(1040000), "Check of option block data failed, invalid checksum");
    EXPECT_EQ(errorMessageText(1040001),
              "Check of new EEPROM data failed, download to Eeprom is denied");
    EXPECT_EQ(errorMessageText(1040002), "WriteToEepromFailed");
    EXPECT_EQ(errorMessageText(42), "");
    const ErrorMessage* row = errorMessageTable();
    int rows = 0;
    while (row[rows].code != 0xFFFFFFFFu) ++rows;
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(row[1].messageClass, 1);
    EXPECT_EQ(row[1].number, 202);
}

}  // namespace
}  // namespace quenmap
