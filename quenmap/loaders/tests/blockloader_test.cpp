// Reading blocks of a binary image: the id reader, the loader's raw bytes,
// and the blocks it must not hand on.

#include "loaders/blockloader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "datablocks/catalogueclasses.h"
#include "text/tests/piecewisebuffer.h"

namespace quenmap {
namespace {

std::string imageOf(const HwDatablock& block) {
    return std::string(reinterpret_cast<const char*>(block.data()), block.byteCount());
}

std::istringstream binaryStream(const std::string& bytes) {
    return std::istringstream(bytes, std::ios::in | std::ios::binary);
}

// A valid SSYN OCXO block (16 bytes) whose bytes include white-space values.
HwDatablockSsynOcxoRefCalValue whiteSpaceBlock() {
    HwDatablockSsynOcxoRefCalValue block;
    block.setCount(0x20);
    block.setValue(0x0A0D0920u, 0);
    return block;
}

TEST(DatablockLoader, BlockIdIsLittleEndianAndZeroPastTheEnd) {
    auto in = binaryStream(std::string("\x10\x27\x05", 3));
    EXPECT_EQ(readBlockId(in), 10000);
    EXPECT_EQ(readBlockId(in), 5);  // the missing high byte reads as 0
    EXPECT_EQ(readBlockId(in), 0);
}

TEST(DatablockLoader, WhiteSpaceBytesAreReadRaw) {
    // Payload bytes 0x20, 0x09, 0x0D, 0x0A and lengths whose low byte is 0x20
    // or 0x0A are read as they are: white space is never skipped.
    for (std::uint16_t length : {std::uint16_t{16}, std::uint16_t{0x0C20}, std::uint16_t{0x0B0A}}) {
        SCOPED_TRACE(length);
        HwDatablockSsynOcxoRefCalValue source = whiteSpaceBlock();
        source.setLength(length);
        std::string bytes = imageOf(source) + std::string(length - 16u, ' ');
        auto in = binaryStream(bytes + std::string("\x0A\x27", 2));
        ASSERT_EQ(readBlockId(in), 10000);
        HwDatablockSsynOcxoRefCalValue block;
        ASSERT_EQ(loadBlock(in, block), LoadResult::Loaded);
        EXPECT_EQ(block.value(0), 0x0A0D0920u);
        EXPECT_EQ(block.count(), 0x20u);
        EXPECT_EQ(readBlockId(in), 0x270A);
    }
}

TEST(DatablockLoader, ConsecutiveBlocksLeaveTheStreamAfterEach) {
    HwDatablockSsynOcxoRefCalValue first = whiteSpaceBlock();  // 16 bytes
    HwDatablockMiscIdent second(10503);                        // 44 bytes
    second.setUnitName("STREAM");
    const std::string bytes = imageOf(first) + imageOf(second) + "\xFF\xFF";
    auto in = binaryStream(bytes);
    ASSERT_EQ(readBlockId(in), 10000);
    HwDatablockSsynOcxoRefCalValue a;
    EXPECT_EQ(loadBlock(in, a), LoadResult::Loaded);
    EXPECT_EQ(static_cast<std::size_t>(in.tellg()), 16u);
    ASSERT_EQ(readBlockId(in), 10503);
    HwDatablockMiscIdent b(10503);
    in >> b;
    EXPECT_TRUE(in);
    EXPECT_EQ(static_cast<std::size_t>(in.tellg()), 60u);
    EXPECT_EQ(b.unitName(), "STREAM");
    EXPECT_EQ(readBlockId(in), 0xFFFF);
    // The file ends after the last complete block: the next id read meets its end.
    readBlockId(in);
    EXPECT_TRUE(in.eof());
}

TEST(DatablockLoader, MalformedBlocksAreNotHandedOn) {
    HwDatablockFsynTcxoRefCalValue valid;
    valid.setValue(1, 0);
    const std::string image = imageOf(valid);

    struct Case {
        const char* what;
        std::string bytes;
        LoadResult expected;
    };
    std::string corrupt = image;
    corrupt[13] ^= 0x04;
    std::string shortLength = image;
    shortLength[2] = 5;  // below the header
    std::string lengthTwo = image;
    lengthTwo[2] = 2;
    std::string pastEnd = image;
    pastEnd[2] = 18;  // two bytes more than the file holds
    std::string shorterThanClass = image.substr(0, 12);
    shorterThanClass[2] = 12;
    const Case cases[] = {
        {"three-byte file", image.substr(0, 3), LoadResult::Malformed},
        {"no length", image.substr(0, 2), LoadResult::Malformed},
        {"length below 6", shortLength, LoadResult::Malformed},
        {"length 2", lengthTwo, LoadResult::Malformed},
        {"length past the end", pastEnd, LoadResult::Malformed},
        {"block shorter than its class", shorterThanClass, LoadResult::Malformed},
        {"checksum", corrupt, LoadResult::Rejected},
        {"valid", image, LoadResult::Loaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = binaryStream(c.bytes);
        readBlockId(in);
        HwDatablockFsynTcxoRefCalValue block;
        const std::string before = imageOf(block);
        EXPECT_EQ(loadBlock(in, block), c.expected);
        if (c.expected != LoadResult::Loaded) {
            EXPECT_EQ(imageOf(block), before);
        }
    }
}

TEST(DatablockLoader, LongerBlockLoadsTheClassSizeAndSkipsTheRest) {
    HwDatablockSAtt3OWLDCounter counter(1);
    counter.setValue(77, 0);
    counter.setLength(16);  // the length field counts four bytes more than the class
    std::string bytes = imageOf(counter) + std::string(4, '\0');
    auto in = binaryStream(bytes + std::string("\xFF\xFF", 2));
    ASSERT_EQ(readBlockId(in), 10605);
    HwDatablockSAtt3OWLDCounter block(0);
    EXPECT_EQ(loadBlock(in, block), LoadResult::Loaded);
    EXPECT_EQ(block.id(), 10605);
    EXPECT_EQ(block.length(), 12);
    EXPECT_EQ(block.value(0), 77u);
    EXPECT_EQ(readBlockId(in), 0xFFFF);
}

TEST(DatablockLoader, BlocksReadInPiecesLoadAsBlocksHeldWhole) {
    HwDatablockSsynOcxoRefCalValue first = whiteSpaceBlock();  // 16 bytes
    HwDatablockMiscIdent second(10503);                        // 44 bytes
    second.setUnitName("PIECES");
    const std::string bytes = imageOf(first) + imageOf(second) + "\xFF\xFF";
    for (std::size_t piece : {1, 5, 17, 100}) {
        SCOPED_TRACE(piece);
        test::PiecewiseBuffer buffer(bytes, piece);
        std::istream in(&buffer);
        ASSERT_EQ(readBlockId(in), 10000);
        HwDatablockSsynOcxoRefCalValue a;
        EXPECT_EQ(loadBlock(in, a), LoadResult::Loaded);
        EXPECT_EQ(imageOf(a), imageOf(first));
        EXPECT_EQ(static_cast<std::size_t>(in.tellg()), 16u);
        ASSERT_EQ(readBlockId(in), 10503);
        HwDatablockMiscIdent b(10503);
        EXPECT_EQ(loadBlock(in, b), LoadResult::Loaded);
        EXPECT_EQ(b.unitName(), "PIECES");
        EXPECT_EQ(readBlockId(in), 0xFFFF);
    }
}

}  // namespace
}  // namespace quenmap
