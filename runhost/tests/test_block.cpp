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

std::vector<std::uint8_t> BuildBlock(const BlockSpec& spec) {
    std::vector<std::uint8_t> block(spec.length, 0);
    PutU32(block, 0, spec.length);
    PutText(block, 4, spec.magic, 24);
    PutText(block, 36, spec.major, 4);
    PutText(block, 40, spec.minor, 4);
    PutText(block, 44, spec.uuid, 128);
    PutU32(block, 172, spec.mainFlag);
    PutU32(block, 176, spec.embeddedValue);
    PutU32(block, 180, spec.embeddedValueHigh);
    PutText(block, 184, spec.updater, 4);

    const std::pair<std::size_t, const std::optional<std::string>*> texts[] = {
        {224, &spec.startMessage},
        {228, &spec.completeMessage},
        {232, &spec.componentText},
        {236, &spec.componentList},
        {240, &spec.mainText}};
    std::size_t end = 8188;
    for (const auto& [field, text] : texts) {
        if (!text->has_value()) continue;
        const std::size_t offset = end - (*text)->size();
        PutText(block, offset, **text, (*text)->size());
        PutU32(block, field, static_cast<std::uint32_t>(offset));
        end = offset;
    }
    PutU32(block, spec.length - 4, spec.length);
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
