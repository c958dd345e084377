#include "fixtures.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "datablocks/hwdatablock.h"
#include "driver/blockselection.h"
#include "driver/conversion.h"
#include "fullimage.h"

extern char** environ;

namespace quenmap::bench {

namespace {

struct Converted {
    int status;
    std::string output;
};

std::string asString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

Converted binaryToText(const std::string& image) {
    std::istringstream in(image, std::ios::binary);
    std::ostringstream text, log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    int status = convertBinaryToText(in, text, log, "bench.txt", "bench.bin", console);
    return {status, text.str()};
}

Converted textToBinary(const std::string& text, const std::string& blockName) {
    std::istringstream in(text);
    std::ostringstream binary(std::ios::binary), log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    TextToBinaryRequest request{"bench.txt", "bench.bin", blockName};
    int status = convertTextToBinary(in, binary, log, request, console);
    if (status != kStatusSuccess) std::cerr << "  " << err.str();
    return {status, binary.str()};
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Every dispatch id: its block loads, converts, and prints the same lines
// with its counts far above the capacity as at the capacity.
bool checkAllTypes(ImageFactory& factory, const std::vector<std::uint16_t>& ids) {
    bool ok = true;
    for (std::uint16_t id : ids) {
        Bytes full = factory.blockImage(id);
        if (full.empty()) {
            std::cerr << "  no fill plan for id " << id << '\n';
            ok = false;
            continue;
        }
        Converted atCapacity = binaryToText(asString(full));
        if (atCapacity.status != kStatusSuccess) {
            std::cerr << "  id " << id << ": \"-a\" ends with status " << atCapacity.status << '\n';
            ok = false;
            continue;
        }
        Converted beyond = binaryToText(asString(factory.blockImageWithHugeCounts(id)));
        if (lineCount(beyond.output) > lineCount(atCapacity.output)) {
            std::cerr << "  id " << id << ": not at full capacity (" << lineCount(atCapacity.output)
                      << " lines, " << lineCount(beyond.output) << " with larger counts)\n";
            ok = false;
        }
    }
    return ok;
}

std::string makeWorkDir() {
    char pattern[] = "/tmp/quenmap-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made != nullptr ? std::string(made) : std::string("/tmp");
}

// A board image from its example: every block of the board's own list
// replaced by one filled to `fraction`; the common records, the state tables
// that the conversion writes zeroed and END kept.
Bytes boardImage(ImageFactory& factory, const Bytes& example, double fraction) {
    Bytes result;
    std::size_t at = 0;
    while (at + 4 <= example.size()) {
        const std::uint16_t id = readU16(example, at);
        if (id == kEndBlockId) break;
        const std::uint16_t length = readU16(example, at + 2);
        if (length < kHeaderSize || at + length > example.size()) return {};
        const bool common = id == 2 || id == 10 || id == 100 || (id >= 200 && id <= 209) ||
                            id == 300 || (id >= 10311 && id <= 10314);
        Bytes block = common ? Bytes(example.begin() + static_cast<long>(at),
                                     example.begin() + static_cast<long>(at + length))
                             : factory.blockImage(id, fraction);
        result.insert(result.end(), block.begin(), block.end());
        at += length;
    }
    result.insert(result.end(), {0xFF, 0xFF, 0x00, 0x00});
    return result;
}

const char* const kBoardExamples[] = {"satt3",  "satt6",  "rfm",   "rfm_v20", "iqop6", "cwop3",
                                      "cwop6",  "ssyn",   "bbins", "dcon",    "det",   "adu",
                                      "satt3c", "satt6c", "babo",  "mbrd"};

}  // namespace

int runProgram(const std::vector<std::string>& args, const std::string& stdoutPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Fixtures makeFixtures(const std::string& examplesDir) {
    Fixtures fixtures;
    fixtures.workDir = makeWorkDir();
    ImageFactory factory(examplesDir);
    const std::string dir = fixtures.workDir + "/";
    std::cerr << "fixtures in " << fixtures.workDir << '\n';

    // One block of every dispatch id, END last.
    const std::vector<std::uint16_t> ids = dispatchIds();
    if (!checkAllTypes(factory, ids)) fixtures.ok = false;
    const Bytes all = factory.image(ids);
    fixtures.allTypesImage = dir + "all_types.bin";
    fixtures.allTypesBytes = all.size();
    writeFileBytes(fixtures.allTypesImage, asString(all));
    Converted allText = binaryToText(asString(all));
    fixtures.allTypesTextBytes = allText.output.size();
    if (allText.status != kStatusSuccess) fixtures.ok = false;
    std::cerr << "all types: " << ids.size() << " blocks, " << all.size() << " bytes of image, "
              << allText.output.size() << " bytes of text, status " << allText.status << '\n';

    // The largest single blocks, each with the blocks its text needs.
    fixtures.singleBlocks = {
        {"LevCalDatLevel", "BLOCK_GXP_EXTLEVCALIBDATA", 12041, {12040}, "", "", 0, 0},
        {"RfResponseLpAmp", "BLOCK_MBRD_PATHA_RF_RESPONSE_LP_AMP", 12230, {12210}, "", "", 0, 0},
        {"RfboAttCalData", "BLOCK_GXL_RFBO_ATT_CAL_DATA", 15721, {15720}, "", "", 0, 0},
    };
    for (SingleBlockCase& block : fixtures.singleBlocks) {
        // The block's own image is what the single-block conversion writes.
        const Bytes own = factory.blockImage(block.id);
        Bytes image = factory.image(block.companions, 1.0, false);
        image.insert(image.end(), own.begin(), own.end());
        image.insert(image.end(), {0xFF, 0xFF, 0x00, 0x00});
        Converted text = binaryToText(asString(image));
        block.textPath = dir + block.label + ".txt";
        block.textBytes = text.output.size();
        writeFileBytes(block.textPath, text.output);
        block.blockBytes = own.size();
        const std::string ownPath = dir + block.label + ".bin";
        writeFileBytes(ownPath, asString(own));
        block.dumpPath = dir + block.label + ".hex";
        if (runProgram({"xxd", ownPath}, block.dumpPath) != 0) {
            std::cerr << "  xxd could not dump " << ownPath << '\n';
            fixtures.ok = false;
        }
        Converted back = textToBinary(text.output, block.blockName);
        const bool same = back.status == kStatusSuccess && back.output == asString(own);
        if (!same) fixtures.ok = false;
        std::cerr << block.blockName << ": " << own.size() << " bytes of block, "
                  << text.output.size() << " bytes of text, \"-b\" status " << back.status
                  << (same ? ", image read back unchanged\n" : ", IMAGE DIFFERS\n");
    }

    // The board whose complete text is the largest among those whose text
    // grows with the counts and converts back.
    std::size_t largest = 0;
    Bytes largestExample;
    for (const char* stem : kBoardExamples) {
        Bytes example = readFileBytes(examplesDir + "/" + stem + ".bin");
        Converted full = binaryToText(asString(boardImage(factory, example, 1.0)));
        Converted eighth = binaryToText(asString(boardImage(factory, example, 0.125)));
        const int back = full.status == kStatusSuccess ? textToBinary(full.output, "").status : -1;
        const bool scales = 2 * eighth.output.size() < full.output.size();
        std::cerr << "board " << stem << ": " << eighth.output.size() << " bytes of text at 1/8, "
                  << full.output.size() << " at full capacity, \"-b\" status " << back
                  << (scales ? "" : ", does not grow with the counts") << '\n';
        if (back == kStatusSuccess && scales && full.output.size() > largest) {
            largest = full.output.size();
            fixtures.boardName = stem;
            largestExample = example;
        }
    }
    for (double fraction : {0.125, 0.25, 0.5, 1.0}) {
        const Bytes image = boardImage(factory, largestExample, fraction);
        Converted text = binaryToText(asString(image));
        ScaledText board{fraction, dir + "board_" + std::to_string(int(fraction * 1000)) + ".txt",
                         text.output.size(), image.size()};
        writeFileBytes(board.textPath, text.output);
        Converted back = textToBinary(text.output, "");
        const bool same =
            back.status == kStatusSuccess && binaryToText(back.output).output == text.output;
        if (!same) fixtures.ok = false;
        std::cerr << "board " << fixtures.boardName << " at " << fraction
                  << " of capacity: " << image.size() << " bytes of image, " << text.output.size()
                  << " bytes of text, \"-b\" status " << back.status
                  << (same ? ", text read back unchanged\n" : ", TEXT DIFFERS\n");
        fixtures.boardTexts.push_back(board);
    }

    for (const SingleBlockCase& single : fixtures.singleBlocks) {
        if (single.companions.empty()) continue;
        Fixtures::GrowingBlock growing{single.label, single.blockName, {}};
        for (double fraction : {0.125, 0.25, 0.5, 1.0}) {
            const Bytes own = factory.blockImage(single.id, fraction);
            Bytes image = factory.image(single.companions, fraction, false);
            image.insert(image.end(), own.begin(), own.end());
            image.insert(image.end(), {0xFF, 0xFF, 0x00, 0x00});
            Converted text = binaryToText(asString(image));
            ScaledText scaled{
                fraction, dir + single.label + "_" + std::to_string(int(fraction * 1000)) + ".txt",
                text.output.size(), own.size()};
            writeFileBytes(scaled.textPath, text.output);
            // Cells beyond the counts are not in the text: the text of the
            // block read back must equal the text of the block itself.
            Converted back = textToBinary(text.output, single.blockName);
            const bool same =
                back.status == kStatusSuccess &&
                binaryToText(back.output).output == binaryToText(asString(own)).output;
            if (!same) fixtures.ok = false;
            std::cerr << single.blockName << " at " << fraction
                      << " of capacity: " << text.output.size() << " bytes of text, \"-b\" status "
                      << back.status
                      << (same ? ", text read back unchanged\n" : ", TEXT DIFFERS\n");
            growing.texts.push_back(scaled);
        }
        fixtures.growingBlocks.push_back(growing);
    }
    return fixtures;
}

}  // namespace quenmap::bench
