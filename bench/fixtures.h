#pragma once
// The files the benchmarks run on, made once per run in a fresh work folder:
// the all-types image, the texts of the large single blocks with the dumps of
// their images, and the largest board text at several fill levels. Every
// fixture is checked before anything is timed (conversion status, full
// capacity, round trip), and what the checks found is printed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quenmap::bench {

struct SingleBlockCase {
    std::string label;      // benchmark name part
    std::string blockName;  // command-line block name
    std::uint16_t id;
    std::vector<std::uint16_t> companions;  // blocks the text needs beside it
    std::string textPath;                   // text of companions and block
    std::string dumpPath;                   // hex dump of the block's own image
    std::size_t blockBytes = 0;
    std::size_t textBytes = 0;
};

// One text of a series of growing texts.
struct ScaledText {
    double fraction;
    std::string textPath;
    std::size_t textBytes = 0;
    std::size_t imageBytes = 0;
};

struct Fixtures {
    std::string workDir;
    std::string allTypesImage;  // one block of every dispatch id, END last
    std::size_t allTypesBytes = 0;
    std::size_t allTypesTextBytes = 0;
    std::vector<SingleBlockCase> singleBlocks;
    std::string boardName;  // example file stem of the largest growing board text
    std::vector<ScaledText> boardTexts;
    // The largest single blocks (with their frequency blocks) at the same
    // fill levels, read with their block names.
    struct GrowingBlock {
        std::string label;
        std::string blockName;
        std::vector<ScaledText> texts;
    };
    std::vector<GrowingBlock> growingBlocks;
    bool ok = true;  // false when a check failed (reported on standard error)
};

// Builds every fixture under a new folder in /tmp; examplesDir holds the
// shipped example images. Reports to standard error.
Fixtures makeFixtures(const std::string& examplesDir);

// Runs a program with its standard output redirected to a file (standard
// input from /dev/null); answers its exit status, -1 when it could not run.
int runProgram(const std::vector<std::string>& args, const std::string& stdoutPath);

}  // namespace quenmap::bench
