// The inspection of images and texts, their damage, and the comparison.

#include "model/inspect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "datablocks/blockcatalogue.h"
#include "datablocks/hwdatablockident.h"
#include "fullimage.h"
#include "model/compare.h"
#include "model/input.h"
#include "output/jsonmodel.h"
#include "testfiles.h"

namespace quenview {
namespace {

using testing::examplePath;
using testing::readBytes;

// The value after a key of the text ("SN:", "NAME:"), blanks around it dropped.
std::string textValue(const std::string& text, const std::string& key) {
    std::size_t at = text.find("\n" + key);
    if (at == std::string::npos) return {};
    at += key.size() + 1;
    const std::size_t end = text.find('\n', at);
    std::string value = text.substr(at, end - at);
    value.erase(0, value.find_first_not_of(" \t"));
    value.erase(value.find_last_not_of(" \t\r") + 1);
    return value;
}

Report reportOfFile(const std::string& path) {
    Report report;
    std::ostringstream err;
    EXPECT_EQ(reportOf("board", readBytes(path), err, report), 0) << path << ": " << err.str();
    return report;
}

TEST(QuenviewExamples, EveryBoardDecodesAndItsTextGivesTheSameModel) {
    for (const std::string& board : testing::exampleBoards()) {
        SCOPED_TRACE(board);
        const Report image = reportOfFile(examplePath(board + ".bin"));
        const Report text = reportOfFile(examplePath(board + ".txt"));
        EXPECT_FALSE(image.status.damaged());
        EXPECT_EQ(image.file.kind, "image");
        EXPECT_EQ(text.file.kind, "text");
        const std::vector<std::uint8_t> source = readBytes(examplePath(board + ".txt"));
        const std::string ascii(source.begin(), source.end());
        EXPECT_EQ(image.board.unitName, textValue(ascii, "NAME:"));
        EXPECT_EQ(std::to_string(image.board.serialNumber), textValue(ascii, "SN:"));
        EXPECT_FALSE(image.blocks.empty());
        // The same model apart from the file it came from.
        Report sameFile = text;
        sameFile.file = image.file;
        EXPECT_EQ(reportJson(sameFile), reportJson(image));
    }
}

TEST(QuenviewExamples, FullCapacityImageOfEveryTypeVerifies) {
    quenmap::bench::ImageFactory factory(QUENVIEW_EXAMPLES_DIR);
    std::vector<std::uint16_t> ids{quenmap::kIdentId};
    for (const quenmap::BlockType* type = quenmap::blockTypesBegin();
         type != quenmap::blockTypesEnd(); ++type) {
        if (type->baseId == quenmap::kEndBlockId || type->baseId == quenmap::kIdentId) continue;
        for (std::uint16_t i = 0; i < type->instances; ++i) {
            quenmap::bench::FillPlan plan;
            if (factory.planFor(static_cast<std::uint16_t>(type->baseId + i), plan)) {
                ids.push_back(static_cast<std::uint16_t>(type->baseId + i));
            }
        }
    }
    const quenmap::Bytes image = factory.image(ids);
    const Report report = inspectImage(image.data(), image.size());
    EXPECT_FALSE(report.status.damaged());
    ASSERT_EQ(report.blocks.size(), ids.size() + 1);
    for (const Block& block : report.blocks) {
        EXPECT_EQ(block.state, BlockState::Verified) << block.name;
        EXPECT_FALSE(block.name.empty()) << block.id;
    }
}

// ---- Damage -------------------------------------------------------------------

std::vector<std::size_t> blockOffsets(const std::vector<std::uint8_t>& image) {
    std::vector<std::size_t> offsets;
    for (const Block& block : inspectImage(image.data(), image.size()).blocks) {
        offsets.push_back(block.offset);
    }
    return offsets;
}

void reseal(std::vector<std::uint8_t>& image, std::size_t offset) {
    const std::size_t length = image[offset + 2] | (image[offset + 3] << 8);
    image[offset + 4] = image[offset + 5] = 0;
    const std::uint16_t sum = quenmap::sumWords(image.data() + offset, length, length / 2);
    const std::uint16_t checksum = static_cast<std::uint16_t>(-sum);
    image[offset + 4] = static_cast<std::uint8_t>(checksum);
    image[offset + 5] = static_cast<std::uint8_t>(checksum >> 8);
}

struct DamageCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&, std::size_t middle)> damage;
    bool damaged;
    WalkEnd end;
    std::size_t failedChecksums;
    std::size_t unknownIds;
    TrailingPattern trailing;
};

TEST(QuenviewDamage, EachDamageIsFoundAndTheWalkGoesOnWhereItCan) {
    const std::vector<std::uint8_t> original = readBytes(examplePath("satt3.bin"));
    const std::vector<std::size_t> offsets = blockOffsets(original);
    ASSERT_GE(offsets.size(), 6u);
    const std::size_t middle = offsets[offsets.size() / 2];
    const DamageCase cases[] = {
        {"flipped checksum", [](auto& image, std::size_t at) { image[at + 4] ^= 0x5A; }, true,
         WalkEnd::EndBlock, 1, 0, TrailingPattern::None},
        {"unknown id",
         [](auto& image, std::size_t at) {
             image[at] = 0x77;
             image[at + 1] = 0x77;
             reseal(image, at);
         },
         true, WalkEnd::EndBlock, 0, 1, TrailingPattern::None},
        {"file cut short", [](auto& image, std::size_t at) { image.resize(at + 10); }, true,
         WalkEnd::CutShort, 0, 0, TrailingPattern::None},
        {"length below the header",
         [](auto& image, std::size_t at) {
             image[at + 2] = 4;
             image[at + 3] = 0;
         },
         true, WalkEnd::UntrustedLength, 0, 0, TrailingPattern::None},
        {"erased bytes after END",
         [](auto& image, std::size_t) { image.resize(image.size() + 64, 0xFF); }, false,
         WalkEnd::EndBlock, 0, 0, TrailingPattern::Erased},
        {"zero bytes after END",
         [](auto& image, std::size_t) { image.resize(image.size() + 64, 0); }, false,
         WalkEnd::EndBlock, 0, 0, TrailingPattern::Zero},
        {"content after END",
         [](auto& image, std::size_t) {
             image.insert(image.end(), {0xFF, 'x', 0xFF});
         },
         true, WalkEnd::EndBlock, 0, 0, TrailingPattern::Content},
    };
    const Report clean = inspectImage(original.data(), original.size());
    for (const DamageCase& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::uint8_t> image = original;
        test.damage(image, middle);
        const Report report = inspectImage(image.data(), image.size());
        EXPECT_EQ(report.status.damaged(), test.damaged);
        EXPECT_EQ(report.status.end, test.end);
        EXPECT_EQ(report.status.failedChecksums, test.failedChecksums);
        EXPECT_EQ(report.status.unknownIds, test.unknownIds);
        EXPECT_EQ(report.status.trailing, test.trailing);
        if (test.end == WalkEnd::EndBlock) {
            ASSERT_EQ(report.blocks.size(), clean.blocks.size());
        } else {
            EXPECT_EQ(report.status.endOffset, middle);
        }
        for (std::size_t i = 0; i < report.blocks.size(); ++i) {
            const Block& block = report.blocks[i];
            if (block.offset != middle) continue;
            if (test.failedChecksums > 0) {
                // Flagged, with both checksums, and still decoded.
                EXPECT_EQ(block.state, BlockState::ChecksumFailed);
                EXPECT_NE(block.storedChecksum, block.computedChecksum);
                EXPECT_EQ(block.computedChecksum, clean.blocks[i].storedChecksum);
                const BlockContent& held = clean.blocks[i].content;
                EXPECT_FALSE(block.content.fields.empty() && block.content.grids.empty());
                ASSERT_EQ(block.content.grids.size(), held.grids.size());
                for (std::size_t g = 0; g < held.grids.size(); ++g) {
                    EXPECT_EQ(block.content.grids[g].raw, held.grids[g].raw);
                }
            }
            if (test.unknownIds > 0) {
                EXPECT_EQ(block.state, BlockState::UnknownId);
                EXPECT_EQ(block.bytes.size(), block.length);
            }
        }
    }
}

TEST(QuenviewDamage, TheStereocoderIdentAloneIsNoDamage) {
    const Report report = reportOfFile(examplePath("stereocoder.bin"));
    EXPECT_EQ(report.status.end, WalkEnd::IdentOnly);
    EXPECT_FALSE(report.status.damaged());
}

// ---- Comparison ------------------------------------------------------------

std::size_t offsetOfId(const std::vector<std::uint8_t>& image, std::uint16_t id) {
    for (const Block& block : inspectImage(image.data(), image.size()).blocks) {
        if (block.id == id) return block.offset;
    }
    return image.size();
}

TEST(QuenviewComparison, IdenticalInputsShowNoChange) {
    const std::vector<std::uint8_t> image = readBytes(examplePath("satt3.bin"));
    const Comparison same = compareReports(inspectImage(image.data(), image.size()),
                                           reportOfFile(examplePath("satt3.txt")));
    EXPECT_EQ(same.changed, 0u);
    EXPECT_EQ(same.compared, same.before.blocks.size());
    EXPECT_TRUE(same.identChanges.empty());
    EXPECT_TRUE(same.serviceChanges.empty());
    for (const BlockPair& pair : same.pairs) EXPECT_EQ(pair.state, PairState::Same) << pair.name;
}

TEST(QuenviewComparison, OneChangedMatrixCellIsNamedWithBothValues) {
    std::vector<std::uint8_t> image = readBytes(examplePath("satt3.bin"));
    const Report before = inspectImage(image.data(), image.size());
    // SATT3_CALIB_DATA_ATT: 27 x 150 16-bit cells from byte 8, which the text
    // writes signed in 1/100 dB; cell (0, 0).
    const std::size_t at = offsetOfId(image, 10602);
    ASSERT_LT(at, image.size());
    const unsigned old = image[at + 8] | (image[at + 9] << 8);
    const unsigned changed = old + 25;
    image[at + 8] = static_cast<std::uint8_t>(changed);
    image[at + 9] = static_cast<std::uint8_t>(changed >> 8);
    reseal(image, at);
    const Comparison comparison = compareReports(before, inspectImage(image.data(), image.size()));
    EXPECT_EQ(comparison.changed, 1u);
    for (const BlockPair& pair : comparison.pairs) {
        if (pair.id != 10602) {
            EXPECT_EQ(pair.state, PairState::Same) << pair.name;
            continue;
        }
        EXPECT_EQ(pair.state, PairState::Changed);
        ASSERT_EQ(pair.changes.size(), 1u);
        const ValueChange& change = pair.changes[0];
        ASSERT_TRUE(change.before && change.after);
        EXPECT_NEAR(*change.after - *change.before, 0.25, 1e-9);
        EXPECT_NEAR(*change.before, static_cast<std::int16_t>(old) / 100.0, 1e-9);
    }
}

TEST(QuenviewComparison, ARemovedBlockIsOnlyInTheFirst) {
    const std::vector<std::uint8_t> image = readBytes(examplePath("satt3.bin"));
    const std::vector<std::size_t> offsets = blockOffsets(image);
    const std::size_t middle = offsets.size() / 2;
    std::vector<std::uint8_t> shorter(image.begin(), image.begin() + offsets[middle]);
    shorter.insert(shorter.end(), image.begin() + offsets[middle + 1], image.end());
    const Comparison comparison = compareReports(inspectImage(image.data(), image.size()),
                                                 inspectImage(shorter.data(), shorter.size()));
    std::size_t onlyFirst = 0;
    for (const BlockPair& pair : comparison.pairs) {
        if (pair.state == PairState::OnlyFirst) {
            ++onlyFirst;
            EXPECT_EQ(pair.id, comparison.before.blocks[middle].id);
        } else {
            EXPECT_EQ(pair.state, PairState::Same) << pair.name;
        }
    }
    EXPECT_EQ(onlyFirst, 1u);
    EXPECT_EQ(comparison.changed, 0u);
}

// The writer formats numbers and plain texts itself: each must be the JSON
// text expected and read back as the same value.
TEST(QuenviewJson, NumbersAndTextsAreWrittenAsJsonReadsThem) {
    const struct {
        double value;
        const char* text;
    } numbers[] = {
        {0, "0"},
        {-0.0, "0"},
        {7, "7"},
        {-32768, "-32768"},
        {12.5, "12.5"},
        {-0.05, "-0.05"},
        {0.0001, "0.0001"},
        {-12.3456, "-12.3456"},
        {100.01, "100.01"},
        {0.0078125, "0.0078125"},
        {-0.0078125, "-0.0078125"},
        {-12.3203125, "-12.3203125"},
        {107.001234, "107.001234"},
        {0.00000001, "0.00000001"},
        {67108863.5, "67108863.5"},
        {-9.427000045776367, "-9.427000045776367"},
        {99999999, "99999999"},
        {100000000, "100000000"},
        {4294967295.0, "4294967295"},
        {-60000000005.0, "-60000000005"},
        {1000000000000000.0, "1000000000000000"},
        {1234567890123456.0, "1234567890123456"},
        {1e20, "1e+20"},
        {0.1 + 0.2, "0.30000000000000004"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
    };
    Report report;
    Block block;
    for (const auto& number : numbers)
        block.content.fields.push_back({"v", "", number.value, 0, {}});
    block.content.fields.push_back({"Ger\xe4t \"A\"\\", "dB", std::nullopt, 0, {"a\tb"}});
    // A row of whole numbers is written another way than a mixed one.
    Grid grid;
    for (const auto& number : numbers) grid.xValues.push_back(number.value);
    grid.values = {-0.0, 7, -32768, 99999999, 100000000, -60000000005.0, 1234567890123456.0};
    grid.raw = grid.values;
    grid.columns.resize(grid.values.size());
    block.content.grids.push_back(grid);
    report.blocks.push_back(block);
    const std::string json = reportJson(report);
    for (const auto& number : numbers) {
        const std::string expected = std::string("\"value\":") + number.text + ",";
        EXPECT_NE(json.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(json.find("\"name\":\"Ger\xc3\xa4t \\\"A\\\"\\\\\""), std::string::npos);
    EXPECT_NE(json.find("\"text\":\"a\\tb\""), std::string::npos);
    const nlohmann::json parsed = nlohmann::json::parse(json);
    const nlohmann::json& fields = parsed["report"]["blocks"][0]["fields"];
    const nlohmann::json& xValues = parsed["report"]["blocks"][0]["grids"][0]["xValues"];
    for (std::size_t i = 0; i + 1 < std::size(numbers); ++i) {
        EXPECT_EQ(fields[i]["value"].get<double>(), numbers[i].value) << numbers[i].text;
        EXPECT_EQ(xValues[i].get<double>(), numbers[i].value) << numbers[i].text;
    }
    EXPECT_TRUE(xValues.back().is_null());
    EXPECT_NE(
        json.find("\"values\":[[0,7,-32768,99999999,100000000,-60000000005,1234567890123456]]"),
        std::string::npos);
}

}  // namespace
}  // namespace quenview
