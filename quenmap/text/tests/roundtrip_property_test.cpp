// Property: a random image of every block type of the catalogue, within the
// ranges its text form carries, converted to text ("-a") and back ("-b" of the
// block's name, or its text reader where it has no name) is the same image.
// Reals printed to a fixed number of decimals come back to that precision.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "datablocks/blockcatalogue.h"
#include "driver/blockselection.h"
#include "driver/conversion.h"
#include "roundtripsamples.h"
#include "text/primitives.h"
#include "text/textreaders.h"

namespace quenmap::test {
namespace {

constexpr std::size_t kSamplesPerType = 50;
const std::string kEndImage("\xFF\xFF\x00\x00", 4);

std::string asString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

struct Converted {
    int status = -1;
    std::string output;
    std::string errors;
};

Converted imageToText(const std::string& image) {
    std::istringstream input(image, std::ios::binary);
    std::ostringstream ascii, log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    Converted result;
    result.status = convertBinaryToText(input, ascii, log, "out.txt", "in.bin", console);
    result.output = ascii.str();
    result.errors = err.str();
    return result;
}

std::uint16_t idOf(const Bytes& image) {
    return static_cast<std::uint16_t>(image.at(0) | (image.at(1) << 8));
}

// "-a" of an image of the blocks and END. The paths C and D, which the
// dispatch does not know, are printed by their block's own writer as the
// dispatch prints every block.
Converted blocksToText(const std::vector<Bytes>& blocks) {
    std::string image;
    bool dispatchable = true;
    for (const Bytes& block : blocks) {
        image += asString(block);
        dispatchable = dispatchable && isDispatchId(idOf(block));
    }
    if (dispatchable) return imageToText(image + kEndImage);
    Converted result;
    std::ostringstream ascii;
    for (const Bytes& bytes : blocks) {
        std::unique_ptr<HwDatablock> block = createBlockForId(idOf(bytes));
        if (block == nullptr || block->setFromImage(bytes.data(), bytes.size()) != 0) {
            result.errors = "block " + std::to_string(idOf(bytes)) + " does not load";
            return result;
        }
        block->writeText(ascii);
    }
    result.status = 0;
    result.output = ascii.str();
    return result;
}

// The id of every accepted block name; an id may have several names.
const std::map<std::uint16_t, std::string>& nameOfId() {
    static const std::map<std::uint16_t, std::string> names = [] {
        std::map<std::uint16_t, std::string> map;
        for (const auto& [name, id] : blockNames()) map.emplace(id, name);
        return map;
    }();
    return names;
}

// "-b" of the block's name, else the type's own reader on a block of the id.
Converted textToImage(const std::string& text, const BlockType& type, std::uint16_t id) {
    Converted result;
    auto named = nameOfId().find(id);
    if (named != nameOfId().end()) {
        std::istringstream input(text);
        std::ostringstream binary(std::ios::binary), log, out, err;
        std::istringstream keys;
        Console console{keys, out, err};
        result.status =
            convertTextToBinary(input, binary, log, {"in.txt", "out.bin", named->second}, console);
        result.output = binary.str();
        result.errors = err.str();
        return result;
    }
    TextReader read = textReaderFor(type);
    if (read == nullptr) return result;
    std::unique_ptr<HwDatablock> block = createBlockForId(id);
    std::istringstream input(text);
    std::ostringstream diagnostics;
    TextInput textInput(input, diagnostics);
    try {
        read(textInput, *block);
        result.status = 0;
    } catch (const TextFailure& failure) {
        result.status = failure.status;
        result.errors = failure.message;
    }
    result.output = asString(block->bytes());
    return result;
}

double realAt(const std::string& bytes, const ApproximateSlot& slot) {
    if (slot.width == 4) {
        float value;
        std::memcpy(&value, bytes.data() + slot.offset, 4);
        return value;
    }
    double value;
    std::memcpy(&value, bytes.data() + slot.offset, 8);
    return value;
}

bool sumsToZero(const std::string& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        sum += static_cast<std::uint8_t>(bytes[i]) | (static_cast<std::uint8_t>(bytes[i + 1]) << 8);
    }
    return (sum & 0xFFFFu) == 0;
}

// The bytes that differ where compared (everywhere when `compared` is empty).
std::string differingBytes(const std::string& expected, const std::string& back,
                           const std::vector<bool>& compared) {
    std::ostringstream list;
    std::size_t count = 0;
    for (std::size_t i = 0; i < back.size(); ++i) {
        if ((!compared.empty() && !compared[i]) || back[i] == expected[i]) continue;
        if (++count <= 8) {
            list << " @" << i << ": " << (static_cast<unsigned>(expected[i]) & 0xFF) << " -> "
                 << (static_cast<unsigned>(back[i]) & 0xFF);
        }
    }
    if (count == 0) return {};
    return std::to_string(count) + " bytes differ:" + list.str();
}

// Where the image read back differs from the sample beyond what the text
// carries; empty when it does not.
std::string difference(const Sample& sample, const std::string& back) {
    const std::string expected = asString(sample.image);
    if (back.size() != expected.size()) {
        return "size " + std::to_string(back.size()) + " instead of " +
               std::to_string(expected.size());
    }
    if (sample.ignored.empty() && sample.approximate.empty())
        return differingBytes(expected, back, {});
    // The checksum follows bytes that may differ; it must still be sound.
    if (!sumsToZero(back)) return "checksum does not sum to 0";
    std::vector<bool> compared(back.size(), true);
    compared[4] = compared[5] = false;
    for (const ByteRange& range : sample.ignored) {
        for (std::size_t i = 0; i < range.size; ++i) compared[range.offset + i] = false;
    }
    for (const ApproximateSlot& slot : sample.approximate) {
        const double want = realAt(expected, slot);
        const double got = realAt(back, slot);
        if (!(std::fabs(want - got) <= slot.tolerance)) {
            std::ostringstream message;
            message.precision(17);
            message << "real at " << slot.offset << " is " << got << " instead of " << want;
            return message.str();
        }
        for (std::size_t i = 0; i < slot.width; ++i) compared[slot.offset + i] = false;
    }
    return differingBytes(expected, back, compared);
}

// The catalogue rows by their place in the catalogue (a stable test parameter).
std::vector<std::size_t> cataloguePlaces() {
    std::vector<std::size_t> places;
    for (std::size_t i = 0; blockTypesBegin() + i != blockTypesEnd(); ++i) places.push_back(i);
    return places;
}

std::vector<const BlockType*> catalogueTypes() {
    std::vector<const BlockType*> types;
    for (const BlockType* type = blockTypesBegin(); type != blockTypesEnd(); ++type) {
        types.push_back(type);
    }
    return types;
}

// The property for one type: kSamplesPerType samples over its instances.
class PropertyImageTextImage : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PropertyImageTextImage, RandomImagesReadBackUnchanged) {
    const BlockType& type = blockTypesBegin()[GetParam()];
    if (const char* reason = exclusionReason(type.kind)) {
        GTEST_SKIP() << type.className << " does not read back unchanged: " << reason;
    }
    ASSERT_TRUE(hasSampleGenerator(type)) << type.className;
    Rng rng(type.baseId);
    for (std::size_t index = 0; index < kSamplesPerType; ++index) {
        const std::uint32_t instance = static_cast<std::uint32_t>(index % type.instances);
        const Sample sample = makeSample(type, instance, index, rng);
        const std::uint16_t id = static_cast<std::uint16_t>(type.baseId + instance);
        std::vector<Bytes> blocks = sample.companions;
        if (type.kind != BlockKind::End) blocks.push_back(sample.image);
        Converted text = blocksToText(blocks);
        ASSERT_EQ(text.status, 0) << type.className << " sample " << index << ": " << text.errors;
        Converted back = textToImage(text.output, type, id);
        ASSERT_EQ(back.status, 0) << type.className << " sample " << index << ": " << back.errors
                                  << "\n"
                                  << text.output.substr(0, 2000);
        const std::string fault = difference(sample, back.output);
        ASSERT_EQ(fault, "") << type.className << " id " << id << " sample " << index << "\n"
                             << text.output.substr(0, 3000);
    }
}

std::string typeName(const ::testing::TestParamInfo<std::size_t>& info) {
    const BlockType& type = blockTypesBegin()[info.param];
    return std::string(type.className) + "_" + std::to_string(type.baseId);
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueType, PropertyImageTextImage,
                         ::testing::ValuesIn(cataloguePlaces()), typeName);

// A type added to the catalogue without a generator (and without a reason
// why it cannot read back) fails here.
TEST(PropertyCoverage, EveryCatalogueTypeHasAGeneratorOrAReason) {
    std::size_t covered = 0, excluded = 0;
    for (const BlockType* type : catalogueTypes()) {
        if (exclusionReason(type->kind) != nullptr) {
            ++excluded;
            continue;
        }
        EXPECT_TRUE(hasSampleGenerator(*type)) << type->className << " (" << type->baseId << ")";
        ++covered;
    }
    EXPECT_EQ(excluded, 7u);
    EXPECT_GT(covered, 100u);
}

// The samples are a function of the seed alone, so a failure can be replayed.
TEST(PropertyCoverage, SamplesRepeatForTheSameSeed) {
    for (const BlockType* type : catalogueTypes()) {
        if (exclusionReason(type->kind) != nullptr) continue;
        Rng first(7), second(7);
        EXPECT_EQ(makeSample(*type, 0, 3, first).image, makeSample(*type, 0, 3, second).image)
            << type->className;
    }
}

}  // namespace
}  // namespace quenmap::test
