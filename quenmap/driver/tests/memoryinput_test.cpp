#include "driver/memoryinput.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "driver/tests/temporaryfile.h"

namespace quenmap {
namespace {

// The readers rewind, note positions and seek back; the buffer must answer
// as a string stream over the same text does.
TEST(MemoryInput, SeeksAndTellsAsAStringStream) {
    const std::string text = "ID: ONE\nCOUNT: 3\n1: 7\n";
    MemoryInputBuffer buffer(text.data(), text.size());
    std::istream in(&buffer);
    std::istringstream reference(text);
    std::string word, expected;
    in >> word;
    reference >> expected;
    EXPECT_EQ(word, expected);
    EXPECT_EQ(in.tellg(), reference.tellg());
    const std::istream::pos_type mark = in.tellg();
    in >> word >> word >> word;
    in.seekg(mark);
    EXPECT_EQ(in.tellg(), mark);
    in >> word;
    EXPECT_EQ(word, "ONE");
    in.seekg(-2, std::ios::end);
    in >> word;
    EXPECT_EQ(word, "7");
    EXPECT_FALSE(in >> word);
    EXPECT_TRUE(in.eof());
    in.clear();
    in.seekg(0, std::ios::beg);
    in >> word;
    EXPECT_EQ(word, "ID:");
    in.seekg(3, std::ios::cur);
    EXPECT_EQ(in.tellg(), std::istream::pos_type(6));
}

TEST(MemoryInput, SeekOutsideTheTextFailsAndLeavesThePosition) {
    MemoryInputBuffer buffer("abc", 3);
    std::istream in(&buffer);
    in.seekg(1);
    in.seekg(4);
    EXPECT_TRUE(in.fail());
    in.clear();
    EXPECT_EQ(in.tellg(), std::istream::pos_type(1));
    in.seekg(-1, std::ios::beg);
    EXPECT_TRUE(in.fail());
    in.clear();
    in.seekg(3);
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(in.get(), std::char_traits<char>::eof());
}

TEST(MemoryInput, ReadWholeTakesEverythingInPieces) {
    std::string large(200000, 'x');
    for (std::size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>('a' + i % 26);
    std::istringstream in(large);
    in.get();
    EXPECT_EQ(readWhole(in), large.substr(1));
    std::istringstream empty;
    EXPECT_EQ(readWhole(empty, 100), "");
}

using test::TemporaryFile;

// Mapped or read, the file's stream holds every byte of it and seeks over it.
TEST(InputFile, HoldsTheWholeFileAndSeeks) {
    std::string content;
    for (int i = 0; content.size() < 300000; ++i) content += std::to_string(i * 7919) + " ";
    TemporaryFile file("quenmap_inputfile_large.txt", content);
    std::ifstream opened(file.path, std::ios::binary);
    InputFile input(file.path, opened);
    opened.close();
    EXPECT_EQ(readWhole(input.stream()), content);
    input.stream().clear();
    input.stream().seekg(6);
    std::string word;
    input.stream() >> word;
    EXPECT_EQ(word, "15838");
}

TEST(InputFile, EmptyFileGivesAnEmptyStream) {
    TemporaryFile file("quenmap_inputfile_empty.txt", "");
    std::ifstream opened(file.path, std::ios::binary);
    InputFile input(file.path, opened);
    EXPECT_FALSE(input.mapped());
    EXPECT_EQ(input.stream().get(), std::char_traits<char>::eof());
}

}  // namespace
}  // namespace quenmap
