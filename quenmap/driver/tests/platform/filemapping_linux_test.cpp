#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "driver/memoryinput.h"
#include "driver/platform/filemapping.h"
#include "driver/tests/temporaryfile.h"

namespace quenmap::platform {
namespace {

using test::TemporaryFile;

using BusHandler = void (*)(int, siginfo_t*, void*);

BusHandler currentBusHandler() {
    struct sigaction current {};
    ::sigaction(SIGBUS, nullptr, &current);
    return current.sa_sigaction;
}

TEST(FileMappingLinux, MapsRegularFilesOnly) {
    const std::string content(3 * 4096 + 17, 'q');
    TemporaryFile file("quenmap_mapping_pages", content);
    const FileMapping mapping = mapWholeFile(file.path);
    ASSERT_NE(mapping.data, nullptr);
    EXPECT_EQ(std::string(mapping.data, mapping.size), content);
    unmapFile(mapping);

    TemporaryFile empty("quenmap_mapping_empty", "");
    EXPECT_EQ(mapWholeFile(empty.path).data, nullptr);
    EXPECT_EQ(mapWholeFile("/tmp").data, nullptr);
    EXPECT_EQ(mapWholeFile("/tmp/quenmap_no_such_file").data, nullptr);
    EXPECT_EQ(mapWholeFile("/dev/null").data, nullptr);
}

// Another program cutting the text short while it is being converted must
// not end the process: the lost part reads as zero bytes.
TEST(FileMappingLinux, FileCutShortWhileMappedReadsAsZeroBytes) {
    const BusHandler before = currentBusHandler();
    const std::string content(5 * 4096, 'x');
    TemporaryFile file("quenmap_mapping_cut", content);
    {
        std::ifstream opened(file.path, std::ios::binary);
        InputFile input(file.path, opened);
        ASSERT_TRUE(input.mapped());
        std::filesystem::resize_file(file.path, 4096);
        const std::string seen = readWhole(input.stream());
        ASSERT_EQ(seen.size(), content.size());
        EXPECT_EQ(seen.substr(0, 4096), std::string(4096, 'x'));
        EXPECT_EQ(seen.substr(4096), std::string(4 * 4096, '\0'));
    }
    EXPECT_EQ(currentBusHandler(), before);
}

TEST(FileMappingLinux, SeveralFilesMappedAtOnceAllRead) {
    TemporaryFile first("quenmap_mapping_first", "first file");
    TemporaryFile second("quenmap_mapping_second", "second file");
    std::ifstream openedFirst(first.path), openedSecond(second.path);
    InputFile a(first.path, openedFirst), b(second.path, openedSecond);
    EXPECT_TRUE(a.mapped());
    EXPECT_TRUE(b.mapped());
    EXPECT_EQ(readWhole(a.stream()), "first file");
    EXPECT_EQ(readWhole(b.stream()), "second file");
}

}  // namespace
}  // namespace quenmap::platform
