// The command line: statuses, messages and the output file.

#include "app/cli.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "model/input.h"
#include "output/jsonmodel.h"
#include "testfiles.h"

namespace quenview {
namespace {

using testing::examplePath;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runQuenview(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(QuenviewCommandLine, StatusesAndMessages) {
    ScratchFolder folder("cli");
    const std::string image = folder.file("board.bin");
    writeBytes(image, readBytes(examplePath("satt3.bin")));
    std::vector<std::uint8_t> damaged = readBytes(examplePath("satt3.bin"));
    damaged[4] ^= 1;
    writeBytes(folder.file("damaged.bin"), damaged);
    std::vector<std::uint8_t> unknownBoard = readBytes(examplePath("mbrd.txt"));
    const std::string text(unknownBoard.begin(), unknownBoard.end());
    const std::size_t name = text.find("MBRD         ");
    ASSERT_NE(name, std::string::npos);
    std::memcpy(unknownBoard.data() + name, "NOSUCHBOARD  ", 13);
    writeBytes(folder.file("unknown.txt"), unknownBoard);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;  // a part of the standard error, or of the output with -h
        std::string written;  // the file the run must leave, or ""
    };
    const std::string missing = folder.file("missing.bin");
    const Case cases[] = {
        {{}, 5, "one or two input files", ""},
        {{"-h"}, 0, "usage:   quenview [-o OUT] [--json] INPUT [SECOND]", ""},
        {{"--frobnicate", image}, 5, "unknown option --frobnicate", ""},
        {{"-o"}, 5, "-o needs a file name", ""},
        {{image, image, image}, 5, "one or two input files", ""},
        {{missing}, 5, "cannot read " + missing, ""},
        {{"--json", "-o", image, image}, 5, "would overwrite the input " + image, ""},
        {{"--json", folder.file("unknown.txt")}, 7, "Device name NOSUCHBOARD", ""},
        {{"--json", image}, 0, "", folder.file("board.json")},
        {{"--json", folder.file("damaged.bin")}, 6, "", folder.file("damaged.json")},
        {{image, folder.file("damaged.bin")}, 6, "", folder.file("board-vs-damaged.html")},
#ifndef _WIN32
        {{"--json", "-o", "-", "/dev/zero"}, 5, "cannot read /dev/zero: larger than 256 MB", ""},
#endif
    };
    for (const Case& test : cases) {
        std::string line;
        for (const std::string& arg : test.args) line += arg + " ";
        SCOPED_TRACE(line);
        const RunResult result = run(test.args);
        EXPECT_EQ(result.status, test.status);
        EXPECT_NE((test.status == 0 && !test.message.empty() ? result.out : result.err)
                      .find(test.message),
                  std::string::npos)
            << result.err;
        if (!test.written.empty()) {
            EXPECT_FALSE(readBytes(test.written).empty());
            EXPECT_FALSE(std::filesystem::exists(test.written + ".quenview-part"));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("unknown.json")));
}

TEST(QuenviewCommandLine, AFailedRunLeavesAnExistingOutputUntouched) {
    ScratchFolder folder("untouched");
    const std::string output = folder.file("report.json");
    writeBytes(output, {'o', 'l', 'd'});
    const RunResult result =
        run({"--json", "-o", output, examplePath("satt3.bin"), folder.file("gone.bin")});
    EXPECT_EQ(result.status, 5);
    EXPECT_EQ(readBytes(output), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// The program writes one input block by block as it decodes them: its file,
// and its standard output, must be the JSON of the whole model.
TEST(QuenviewCommandLine, OutputIsTheJsonOfTheWholeModel) {
    ScratchFolder folder("stdout");
    for (const std::string& board : testing::exampleBoards()) {
        SCOPED_TRACE(board);
        const std::string output = folder.file(board + ".json");
        ASSERT_EQ(run({"--json", "-o", output, examplePath(board + ".bin")}).status, 0);
        Report report;
        std::ostringstream err;
        ASSERT_EQ(reportOf(board + ".bin", readBytes(examplePath(board + ".bin")), err, report), 0);
        const std::vector<std::uint8_t> file = readBytes(output);
        EXPECT_EQ(std::string(file.begin(), file.end()), reportJson(report) + "\n");
        if (board == "satt3") {
            const RunResult toOut = run({"--json", "-o", "-", examplePath("satt3.bin")});
            EXPECT_EQ(toOut.status, 0);
            EXPECT_EQ(toOut.out, std::string(file.begin(), file.end()));
        }
    }
}

// An output that is a link, or a pipe or device, stays what it is: the report
// goes into the file or the pipe it names, not into a new file in its place.
TEST(QuenviewCommandLine, OutputsThatAreNotPlainFilesStayWhatTheyAre) {
    ScratchFolder folder("special");
    const std::string input = examplePath("satt3.bin");
    ASSERT_EQ(run({"--json", "-o", folder.file("plain.json"), input}).status, 0);
    const std::vector<std::uint8_t> expected = readBytes(folder.file("plain.json"));

    const std::string target = folder.file("target.json");
    const std::string link = folder.file("link.json");
    writeBytes(target, {'o', 'l', 'd'});
    std::error_code noLinks;
    std::filesystem::create_symlink(target, link, noLinks);
    if (!noLinks) {
        EXPECT_EQ(run({"--json", "-o", link, input}).status, 0);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(readBytes(target), expected);
    }
#ifndef _WIN32
    // The room reserved for the report while it was written is given back.
    struct stat plain {};
    ASSERT_EQ(stat(folder.file("plain.json").c_str(), &plain), 0);
    EXPECT_LT(plain.st_blocks * 512, plain.st_size + 65536);

    const std::string fifo = folder.file("pipe.json");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Read without waiting for a writer, so that a run that never opens the
    // pipe ends the test with nothing read instead of hanging it.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::atomic<bool> done{false};
    int status = -1;
    std::thread writer([&] {
        status = run({"--json", "-o", fifo, input}).status;
        done = true;
    });
    std::vector<std::uint8_t> received;
    for (;;) {
        const bool finished = done;
        std::uint8_t chunk[65536];
        const ssize_t got = read(reader, chunk, sizeof chunk);
        if (got > 0) {
            received.insert(received.end(), chunk, chunk + got);
        } else if (finished) {
            break;
        } else {
            std::this_thread::yield();
        }
    }
    writer.join();
    close(reader);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(received, expected);
    struct stat after {};
    ASSERT_EQ(stat(fifo.c_str(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
#endif
}

TEST(QuenviewCommandLine, DefaultOutputNames) {
    const std::string folder = (std::filesystem::path("a") / "b").string();
    EXPECT_EQ(defaultOutputPath(folder + "/mbrd.bin", "", false),
              (std::filesystem::path(folder) / "mbrd.html").string());
    EXPECT_EQ(defaultOutputPath("x.bin", "c/y.txt", true), "x-vs-y.json");
}

}  // namespace
}  // namespace quenview
