// Writes the archives of the end-to-end runs:
//   runhost_test_archive <out> [program=<file>] [major=..] [minor=..] [updater=..]
//       [start=..] [complete=..] [component=..] [list=..] [main=..] [magic=..]
// With program= the block is appended to a copy of that file.
#include <cstdio>
#include <cstring>
#include <string>

#include "test_block.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: runhost_test_archive <out> [key=value...]\n", stderr);
        return 2;
    }
    runhost_test::BlockSpec blockSpec;
    std::string program;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "not key=value: %s\n", argv[i]);
            return 2;
        }
        const std::string key = argument.substr(0, equals);
        const std::string value = argument.substr(equals + 1);
        if (key == "program") {
            program = value;
        } else if (key == "major") {
            blockSpec.major = value;
        } else if (key == "minor") {
            blockSpec.minor = value;
        } else if (key == "updater") {
            blockSpec.updater = value;
        } else if (key == "start") {
            blockSpec.startMessage = value;
        } else if (key == "complete") {
            blockSpec.completeMessage = value;
        } else if (key == "component") {
            blockSpec.componentText = value;
        } else if (key == "list") {
            blockSpec.componentList = value;
        } else if (key == "main") {
            blockSpec.mainText = value;
        } else if (key == "magic") {
            blockSpec.magic = value;
        } else {
            std::fprintf(stderr, "unknown key: %s\n", key.c_str());
            return 2;
        }
    }
    std::vector<std::uint8_t> bytes;
    if (!program.empty()) {
        bytes = runhost_test::ReadFile(program);
        if (bytes.empty()) {
            std::fprintf(stderr, "cannot read %s\n", program.c_str());
            return 1;
        }
    }
    const std::vector<std::uint8_t> block = runhost_test::BuildBlock(blockSpec);
    const std::size_t programSize = bytes.size();
    bytes.resize(programSize + block.size());
    std::copy(block.begin(), block.end(), bytes.begin() + static_cast<std::ptrdiff_t>(programSize));
    if (!runhost_test::WriteFile(argv[1], bytes)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
