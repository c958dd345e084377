#include "test_block.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace runhost_test {

void PutU32(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) block.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

namespace {
void PutText(std::vector<std::uint8_t>& block, std::size_t offset, const std::string& text,
             std::size_t width) {
    for (std::size_t i = 0; i < width && i < text.size(); ++i) {
        block.at(offset + i) = static_cast<std::uint8_t>(text[i]);
    }
}
}  // namespace

std::vector<std::uint8_t> BuildBlock(const BlockSpec& blockSpec) {
    std::vector<std::uint8_t> block(blockSpec.length, 0);
    PutU32(block, 0, blockSpec.length);
    PutText(block, 4, blockSpec.magic, 24);
    PutText(block, 36, blockSpec.major, 4);
    PutText(block, 40, blockSpec.minor, 4);
    PutText(block, 44, blockSpec.uuid, 128);
    PutU32(block, 172, blockSpec.mainFlag);
    PutU32(block, 176, blockSpec.embeddedValue);
    PutU32(block, 180, blockSpec.embeddedValueHigh);
    PutText(block, 184, blockSpec.updater, 4);

    const std::pair<std::size_t, const std::optional<std::string>*> texts[] = {
        {224, &blockSpec.startMessage},
        {228, &blockSpec.completeMessage},
        {232, &blockSpec.componentText},
        {236, &blockSpec.componentList},
        {240, &blockSpec.mainText}};
    std::size_t end = 8188;
    for (const auto& [field, text] : texts) {
        if (!text->has_value()) continue;
        const std::size_t offset = end - (*text)->size();
        PutText(block, offset, **text, (*text)->size());
        PutU32(block, field, static_cast<std::uint32_t>(offset));
        end = offset;
    }
    PutU32(block, blockSpec.length - 4, blockSpec.length);
    return block;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

}  // namespace runhost_test
