#include "blockcatalogue.h"

#include <type_traits>

#include "catalogueclasses.h"
#include "tables/tableclasses.h"

namespace quenmap {

namespace {

// The constructors differ in what they take; a class whose constructor is not
// (flag) provides static create(instance, flag), the others get this one.
template <typename Block>
std::unique_ptr<HwDatablock> createPlain(std::uint32_t, std::uint8_t flag) {
    return std::make_unique<Block>(flag);
}

template <typename Block, typename = void>
struct HasCreate : std::false_type {};
template <typename Block>
struct HasCreate<Block, std::void_t<decltype(&Block::create)>> : std::true_type {};

std::unique_ptr<HwDatablock> createService(std::uint32_t instance, std::uint8_t flag) {
    return std::make_unique<HwDatablockServiceData>(
        static_cast<std::uint16_t>(HwDatablockServiceData::kFirstId + instance), flag);
}

std::unique_ptr<HwDatablock> createMiscIdent(std::uint32_t instance, std::uint8_t flag) {
    return std::make_unique<HwDatablockMiscIdent>(
        static_cast<std::uint16_t>(HwDatablockMiscIdent::kStreamOptId + instance), flag);
}

std::unique_ptr<HwDatablock> createEnd(std::uint32_t, std::uint8_t) {
    return std::make_unique<HwDatablockEnd>();
}

template <typename Block>
constexpr BlockFactory factoryFor() {
    if constexpr (HasCreate<Block>::value) {
        return &Block::create;
    } else {
        return &createPlain<Block>;
    }
}
template <>
constexpr BlockFactory factoryFor<HwDatablockServiceData>() {
    return &createService;
}
template <>
constexpr BlockFactory factoryFor<HwDatablockMiscIdent>() {
    return &createMiscIdent;
}
template <>
constexpr BlockFactory factoryFor<HwDatablockEnd>() {
    return &createEnd;
}

const BlockType kBlockTypes[] = {
#define QM_BLOCK(kind, cls, text, base, instances, size) \
    {BlockKind::kind, #cls, text, base, instances, size, factoryFor<cls>()},
#include "blockcatalogue.def"
#define QM_BLOCK(kind, cls, text, base, instances, size) \
    {BlockKind::kind, #cls, text, base, instances, size, factoryFor<cls>()},
#include "tables/tablecatalogue.def"
};

}  // namespace

const BlockType* blockTypesBegin() {
    return std::begin(kBlockTypes);
}
const BlockType* blockTypesEnd() {
    return std::end(kBlockTypes);
}

const BlockType& blockType(BlockKind kind) {
    return kBlockTypes[static_cast<std::size_t>(kind)];
}

const BlockType* blockTypeForId(std::uint16_t id) {
    if (id == kAlternateIdentId) return &blockType(BlockKind::Ident);
    for (const BlockType& type : kBlockTypes) {
        if (id >= type.baseId && id - type.baseId < type.instances) return &type;
    }
    return nullptr;
}

std::unique_ptr<HwDatablock> createBlockForId(std::uint16_t id, std::uint8_t flag) {
    const BlockType* type = blockTypeForId(id);
    if (type == nullptr) return nullptr;
    std::uint32_t instance = id == kAlternateIdentId ? 0 : id - type->baseId;
    return type->create(instance, flag);
}

}  // namespace quenmap
