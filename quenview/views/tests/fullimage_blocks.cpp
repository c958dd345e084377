#include "fullimage_blocks.h"

namespace quenview::testing {

std::unique_ptr<quenmap::HwDatablock> loadBlock(const quenmap::Bytes& image) {
    if (image.size() < 2) return nullptr;
    std::unique_ptr<quenmap::HwDatablock> block =
        quenmap::createBlockForId(quenmap::readU16(image, 0));
    if (block == nullptr || block->setFromImage(image.data(), image.size()) != quenmap::kLoaded) {
        return nullptr;
    }
    return block;
}

LoadedBlocks::LoadedBlocks(double fraction, Counts counts) : factory_(QUENVIEW_EXAMPLES_DIR) {
    for (const quenmap::BlockType* type = quenmap::blockTypesBegin();
         type != quenmap::blockTypesEnd(); ++type) {
        for (std::uint16_t i = 0; i < type->instances; ++i) {
            const auto id = static_cast<std::uint16_t>(type->baseId + i);
            ids_.push_back(id);
            if (id == quenmap::kEndBlockId) {
                blocks_[id] = quenmap::createBlockForId(id);
                continue;
            }
            const quenmap::Bytes image = counts == Counts::Huge
                                             ? factory_.blockImageWithHugeCounts(id)
                                             : factory_.blockImage(id, fraction);
            blocks_[id] = loadBlock(image);
        }
    }
}

const quenmap::HwDatablock* LoadedBlocks::block(std::uint16_t id) const {
    auto found = blocks_.find(id);
    return found != blocks_.end() ? found->second.get() : nullptr;
}

CompanionLookup LoadedBlocks::lookup() const {
    return [this](std::uint16_t id) { return block(id); };
}

}  // namespace quenview::testing
