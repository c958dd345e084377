#include "driver/outputfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "driver/platform/outputfile.h"
#include "driver/tests/temporaryfile.h"

namespace quenmap {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct OutputCase {
    const char* name;
    std::optional<std::string> before;  // no file when empty
    bool mayOverwriteInPlace;
    std::string written;
};

// Whichever way the file is opened, what is left is exactly what was written.
TEST(OutputFile, LeavesExactlyTheWrittenBytes) {
    const std::string longer(70000, 'x');
    const OutputCase cases[] = {
        {"longer_in_place", longer, true, "new\ncontent\n"},
        {"shorter_in_place", std::string("ab"), true, "new\ncontent\n"},
        {"empty_before_in_place", std::string(), true, "abc"},
        {"nothing_written_in_place", longer, true, ""},
        {"missing_in_place", std::nullopt, true, "abc"},
        {"longer_emptied", longer, false, "new\ncontent\n"},
        {"missing_emptied", std::nullopt, false, "abc"},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TemporaryFile file(std::string("quenmap_output_") + c.name, c.before.value_or(""));
        if (!c.before) std::filesystem::remove(file.path);
        {
            OutputFile output(file.path, std::ios::binary, c.mayOverwriteInPlace);
            ASSERT_TRUE(output.isOpen());
            EXPECT_EQ(output.overwritesInPlace(), c.mayOverwriteInPlace && c.before.has_value() &&
                                                      platform::overwriteOutputInPlace());
            // Emptied when opened unless overwritten in place.
            if (!output.overwritesInPlace()) {
                EXPECT_EQ(std::filesystem::file_size(file.path), 0u);
            }
            output.stream() << c.written;
        }
        EXPECT_EQ(contentOf(file.path), c.written);
    }
}

// A file whose written length is unknown keeps none of its earlier bytes.
TEST(OutputFile, FailedWriteLeavesNoOldBytes) {
    test::TemporaryFile file("quenmap_output_failed", std::string(5000, 'x'));
    {
        OutputFile output(file.path, std::ios::binary, true);
        output.stream() << "partial";
        output.stream().setstate(std::ios::badbit);
        output.finish();
        EXPECT_FALSE(output.isOpen());
    }
    const std::string left = contentOf(file.path);
    EXPECT_EQ(left.find('x'), std::string::npos) << left.size() << " bytes left";
}

TEST(OutputFile, SameFileComparesFilesNotSpellings) {
    test::TemporaryFile first("quenmap_same_first", "1");
    test::TemporaryFile second("quenmap_same_second", "2");
    const std::filesystem::path path(first.path);
    const std::string respelled = (path.parent_path() / "." / path.filename()).string();
    EXPECT_TRUE(sameFile(first.path, first.path));
    EXPECT_TRUE(sameFile(first.path, respelled));
    EXPECT_FALSE(sameFile(first.path, second.path));
    EXPECT_FALSE(sameFile(first.path, first.path + ".missing"));
    EXPECT_FALSE(sameFile(first.path + ".missing", first.path + ".missing"));
}

}  // namespace
}  // namespace quenmap
