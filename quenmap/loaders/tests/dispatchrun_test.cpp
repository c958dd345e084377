// "-a" runs in process over images that hold a block of every dispatch id.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "datablocks/blockcatalogue.h"
#include "datablocks/hwdatablock.h"
#include "driver/blockselection.h"
#include "driver/conversion.h"

namespace quenmap {
namespace {

enum class Payload { Zero, Random };

// One valid block of the id's class: its own size, the id, and a payload of
// zeros or of random bytes with small numbers where counts are kept.
std::string blockImage(std::uint16_t id, Payload payload, std::mt19937& random) {
    std::unique_ptr<HwDatablock> block = createBlockForId(id);
    if (block == nullptr) return {};
    Bytes image(block->blockSize(), 0);
    if (payload == Payload::Random) {
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<int> small(0, 9);
        for (std::size_t i = kHeaderSize; i < image.size(); ++i) {
            image[i] = static_cast<std::uint8_t>(byte(random));
        }
        // Counts, dimensions and the state count stay small so that the text
        // stays short; everything else is arbitrary.
        for (std::size_t i = 8; i + 4 <= image.size() && i < 48; i += 4) {
            writeU32(image, i, static_cast<std::uint32_t>(small(random)));
        }
    }
    writeU16(image, 0, id);
    writeU16(image, 2, static_cast<std::uint16_t>(image.size()));
    writeU16(image, 4, block->checksumOf(image.data(), static_cast<std::uint16_t>(image.size())));
    return std::string(image.begin(), image.end());
}

struct RunResult {
    int status;
    std::string text;
    std::string log;
    std::string errors;
};

RunResult runBinaryToText(const std::string& image) {
    std::istringstream in(image, std::ios::in | std::ios::binary);
    std::ostringstream text;
    std::ostringstream log;
    std::istringstream keys;
    std::ostringstream out;
    std::ostringstream err;
    Console console{keys, out, err};
    int status = convertBinaryToText(in, text, log, "all.txt", "all.bin", console);
    return {status, text.str(), log.str(), err.str()};
}

const char kEndBytes[] = "\xFF\xFF\x00\x00";

std::string everyDispatchId(Payload payload, std::mt19937& random) {
    std::string image;
    for (std::uint16_t id : dispatchIds()) {
        std::string block = blockImage(id, payload, random);
        EXPECT_FALSE(block.empty()) << "no class for dispatch id " << id;
        image += block;
    }
    return image + std::string(kEndBytes, 4);
}

TEST(DatablockDispatchRun, EveryDispatchIdConvertsWithZeroPayload) {
    std::mt19937 random(1);
    RunResult result = runBinaryToText(everyDispatchId(Payload::Zero, random));
    EXPECT_EQ(result.status, 0) << result.errors << result.log;
    EXPECT_NE(result.log.find("was successful"), std::string::npos);
    EXPECT_EQ(result.errors, "");
}

TEST(DatablockDispatchRun, EveryDispatchIdConvertsWithRandomPayload) {
    for (unsigned seed : {2u, 3u}) {
        std::mt19937 random(seed);
        RunResult result = runBinaryToText(everyDispatchId(Payload::Random, random));
        EXPECT_EQ(result.status, 0) << result.errors << result.log;
        EXPECT_EQ(result.errors, "");
    }
}

TEST(DatablockDispatchRun, BadBlocksEndTheRunWithTheFailureOutcome) {
    std::mt19937 random(4);
    const std::string good = blockImage(15001, Payload::Random, random);
    std::string corrupt = blockImage(12180, Payload::Random, random);
    corrupt[100] ^= 0x01;
    std::string unknownPath = blockImage(12182, Payload::Random, random);  // created by name only
    std::string truncated = blockImage(12041, Payload::Random, random).substr(0, 30000);

    struct Case {
        const char* what;
        std::string image;
        const char* errorDetail;
    };
    const Case cases[] = {
        {"checksum", good + corrupt + kEndBytes, "   HwSDatablockAttCalibData2Edition"},
        {"unknown path C id", good + unknownPath + std::string(kEndBytes, 4), nullptr},
        {"truncated last block", good + truncated, nullptr},
        {"length below the header", good + std::string("\x10\x27\x04\x00", 4), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult result = runBinaryToText(c.image);
        EXPECT_EQ(result.status, 6);
        EXPECT_NE(result.log.find("failed"), std::string::npos);
        if (c.errorDetail != nullptr) {
            EXPECT_NE(
                result.errors.find("Check of new EEPROM data failed, download to Eeprom is denied"),
                std::string::npos);
            EXPECT_NE(result.errors.find(c.errorDetail), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace quenmap
