#include "data_block.h"

#include <gtest/gtest.h>

#include "temp_folder.h"
#include "test_block.h"

namespace {

using runhost::DataBlock;
using runhost::FormatDataBlockDump;
using runhost::IsEmbedded;
using runhost::ParseDataBlock;
using runhost::ReadDataBlock;
using runhost_test::BlockSpec;
using runhost_test::BuildBlock;
using runhost_test::PutU32;
using runhost_test::TempFolder;

TEST(RunhostDataBlock, ReadsEveryHeaderFieldAndText) {
    BlockSpec blockSpec;
    blockSpec.startMessage = "Welcome";
    blockSpec.completeMessage = "Ready";
    blockSpec.componentText = "component";
    blockSpec.componentList = "alpha,beta,gamma";
    blockSpec.mainText = "main";
    const DataBlock block = ParseDataBlock(BuildBlock(blockSpec));

    EXPECT_TRUE(block.valid);
    EXPECT_EQ(block.blockSize, 8192u);
    EXPECT_EQ(block.magic, "V1NCC4000NXC1000NRT1000");
    EXPECT_EQ(block.majorVersion, "7");
    EXPECT_EQ(block.minorVersion, "14");
    EXPECT_EQ(block.updaterVersion, "2");
    EXPECT_EQ(runhost::UpToFirstZero(block.uuid), blockSpec.uuid);
    EXPECT_EQ(block.uuid.size(), 128u);
    EXPECT_EQ(block.mainFlag, 3u);
    EXPECT_EQ(block.embeddedValue, 305419896u);
    EXPECT_EQ(block.embeddedValueHigh, 9u);
    EXPECT_EQ(block.startMessage, "Welcome");
    EXPECT_EQ(block.completeMessage, "Ready");
    EXPECT_EQ(block.componentText, "component");
    EXPECT_EQ(block.componentList, (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(block.mainText, "main");
}

// An absent text passes its end on to the next one.
struct AbsentTextCase {
    const char* name;
    std::optional<std::string> start, complete, component, list, main;
};

TEST(RunhostDataBlock, AbsentTextsLeaveTheirNeighboursWhole) {
    const AbsentTextCase cases[] = {
        {"all absent", {}, {}, {}, {}, {}},
        {"only main", {}, {}, {}, {}, std::string("main-text")},
        {"start and main", std::string("start"), {}, {}, {}, std::string("main")},
        {"complete and list", {}, std::string("done"), {}, std::string("a,b"), {}},
        {"component only", {}, {}, std::string("comp"), {}, {}},
    };
    for (const AbsentTextCase& c : cases) {
        SCOPED_TRACE(c.name);
        BlockSpec blockSpec;
        blockSpec.startMessage = c.start;
        blockSpec.completeMessage = c.complete;
        blockSpec.componentText = c.component;
        blockSpec.componentList = c.list;
        blockSpec.mainText = c.main;
        const DataBlock block = ParseDataBlock(BuildBlock(blockSpec));
        ASSERT_TRUE(block.valid);
        EXPECT_EQ(block.startMessage, c.start.value_or(""));
        EXPECT_EQ(block.completeMessage, c.complete.value_or(""));
        EXPECT_EQ(block.componentText, c.component.value_or(""));
        EXPECT_EQ(block.mainText, c.main.value_or(""));
        EXPECT_EQ(block.componentList.size(), c.list ? 2u : 0u);
    }
}

TEST(RunhostDataBlock, CompleteMessageAtOffset7000RunsToTheTrailer) {
    BlockSpec blockSpec;
    std::vector<std::uint8_t> bytes = BuildBlock(blockSpec);
    for (std::size_t i = 7000; i < 8188; ++i) bytes[i] = static_cast<std::uint8_t>('a' + i % 26);
    bytes[7500] = 0;  // zero bytes belong to the stored text
    PutU32(bytes, 224, 0);
    PutU32(bytes, 228, 7000);
    const DataBlock block = ParseDataBlock(bytes);
    ASSERT_TRUE(block.valid);
    EXPECT_TRUE(block.startMessage.empty());
    ASSERT_EQ(block.completeMessage.size(), 1188u);
    EXPECT_EQ(block.completeMessage.front(), static_cast<char>('a' + 7000 % 26));
    EXPECT_EQ(block.completeMessage.back(), static_cast<char>('a' + 8187 % 26));
    EXPECT_EQ(runhost::UpToFirstZero(block.completeMessage).size(), 500u);
}

struct VersionCase {
    std::string storedMajor, storedMinor, storedUpdater;
    std::string major, minor, updater;
};

TEST(RunhostDataBlock, VersionTextsEndAtTheirFirstZeroByte) {
    const VersionCase cases[] = {
        {"7", "14", "2", "7", "14", "2"},
        {"70", "14", "0", "70", "14", "0"},
        {"7a", "13", "12", "7a", "13", "12"},
        {"7777", "1414", "2222", "7777", "1414", "2222"},
        {std::string("7\0x", 3), "14", "", "7", "14", ""},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.storedMajor + "/" + c.storedMinor + "/" + c.storedUpdater);
        BlockSpec blockSpec;
        blockSpec.major = c.storedMajor;
        blockSpec.minor = c.storedMinor;
        blockSpec.updater = c.storedUpdater;
        const DataBlock block = ParseDataBlock(BuildBlock(blockSpec));
        EXPECT_EQ(block.majorVersion, c.major);
        EXPECT_EQ(block.minorVersion, c.minor);
        EXPECT_EQ(block.updaterVersion, c.updater);
    }
}

struct BrokenBlockCase {
    const char* name;
    void (*damage)(std::vector<std::uint8_t>& bytes);
};

TEST(RunhostDataBlock, BlocksThatReachOutsideThemselvesAreNotValid) {
    const BrokenBlockCase cases[] = {
        {"magic differs", [](std::vector<std::uint8_t>& b) { b[10] = 'X'; }},
        {"magic without its zero byte", [](std::vector<std::uint8_t>& b) { b[27] = '!'; }},
        {"offset past the text end", [](std::vector<std::uint8_t>& b) { PutU32(b, 224, 8189); }},
        {"offset far outside", [](std::vector<std::uint8_t>& b) { PutU32(b, 240, 0xFFFFFFF0u); }},
        {"offsets out of order",
         [](std::vector<std::uint8_t>& b) {
             PutU32(b, 224, 8000);
             PutU32(b, 228, 8100);
         }},
        {"shorter than a header", [](std::vector<std::uint8_t>& b) { b.resize(1000); }},
    };
    for (const BrokenBlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        BlockSpec blockSpec;
        blockSpec.startMessage = "start";
        blockSpec.completeMessage = "complete";
        std::vector<std::uint8_t> bytes = BuildBlock(blockSpec);
        c.damage(bytes);
        const DataBlock block = ParseDataBlock(bytes);
        EXPECT_FALSE(block.valid);
        EXPECT_TRUE(block.majorVersion.empty());
        EXPECT_TRUE(block.minorVersion.empty());
        EXPECT_TRUE(block.startMessage.empty());
    }
}

TEST(RunhostDataBlock, ReadsTheBlockThatEndsTheFile) {
    TempFolder folder("read");
    BlockSpec blockSpec;
    blockSpec.startMessage = "hello";
    std::vector<std::uint8_t> file(5000, 0xEE);  // anything before the block
    const std::vector<std::uint8_t> block = BuildBlock(blockSpec);
    file.insert(file.end(), block.begin(), block.end());
    ASSERT_TRUE(runhost_test::WriteFile(folder.file("app.pkf"), file));

    std::string dump;
    const DataBlock read =
        ReadDataBlock(folder.file("app.pkf"), [&](const std::string& text) { dump += text; });
    EXPECT_TRUE(read.valid);
    EXPECT_EQ(read.startMessage, "hello");
    EXPECT_EQ(dump, FormatDataBlockDump(read));
}

TEST(RunhostDataBlock, UnreadableFilesGiveAnEmptyRecordAndNoDump) {
    TempFolder folder("unreadable");
    const std::vector<std::uint8_t> block = BuildBlock(BlockSpec{});
    std::vector<std::uint8_t> tooLong = block;
    PutU32(tooLong, tooLong.size() - 4, 9000);  // trailer larger than the file
    std::vector<std::uint8_t> tooShortTrailer = block;
    PutU32(tooShortTrailer, tooShortTrailer.size() - 4, 512);
    ASSERT_TRUE(runhost_test::WriteFile(folder.file("long.pkf"), tooLong));
    ASSERT_TRUE(runhost_test::WriteFile(folder.file("short.pkf"), tooShortTrailer));
    ASSERT_TRUE(runhost_test::WriteFile(folder.file("tiny.pkf"), {1, 2}));
    ASSERT_TRUE(runhost_test::WriteFile(folder.file("empty.pkf"), {}));

    for (const char* name : {"missing.pkf", "long.pkf", "short.pkf", "tiny.pkf", "empty.pkf"}) {
        SCOPED_TRACE(name);
        bool dumped = false;
        const DataBlock read =
            ReadDataBlock(folder.file(name), [&](const std::string&) { dumped = true; });
        EXPECT_FALSE(read.valid);
        EXPECT_TRUE(read.magic.empty());
        EXPECT_FALSE(dumped);
    }
    EXPECT_FALSE(ReadDataBlock(folder.path()).valid);  // a folder is no archive
}

TEST(RunhostDataBlock, OnlyTheEmbeddedCheckRequiresTheEmbeddedSize) {
    TempFolder folder("embedded");
    BlockSpec large;
    large.length = 9000;
    BlockSpec badMagic;
    badMagic.magic = "V1NCC4000NXC1000NRT1001";
    const std::vector<std::uint8_t> program(3000, 0x90);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> block;
        bool valid;
        bool embedded;
    } cases[] = {
        {"standard block", BuildBlock(BlockSpec{}), true, true},
        {"larger block", BuildBlock(large), true, false},
        {"wrong magic", BuildBlock(badMagic), false, false},
        {"no block", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> file = program;
        file.insert(file.end(), c.block.begin(), c.block.end());
        const std::string path = folder.file("tool.exe");
        ASSERT_TRUE(runhost_test::WriteFile(path, file));
        EXPECT_EQ(ReadDataBlock(path).valid, c.valid);
        int dumps = 0;
        EXPECT_EQ(IsEmbedded(path, [&](const std::string&) { ++dumps; }), c.embedded);
        EXPECT_EQ(dumps, c.embedded ? 1 : 0);
    }
    EXPECT_FALSE(IsEmbedded(folder.file("missing.exe")));
}

TEST(RunhostDataBlock, DumpShowsEveryLabelWithItsValue) {
    BlockSpec blockSpec;
    blockSpec.updater = "0";
    blockSpec.startMessage = std::string("Go\0\0\0", 5);
    blockSpec.completeMessage = "Done";
    const DataBlock block = ParseDataBlock(BuildBlock(blockSpec));
    EXPECT_EQ(FormatDataBlockDump(block),
              "PKF_DataBlock:\n"
              "Data block size = 8192 bytes\n"
              "version str=V1NCC4000NXC1000NRT1000\n"
              "NRT Major Version:7\n"
              "NRT Minor Version:14\n"
              "NRT Updater Version:0\n"
              "UUID:3f2a9c4e-0d1b-4c55-9e77-1a2b3c4d5e6f\n"
              "Start message:Go\n"
              "Complete message:Done\n");
}

}  // namespace
