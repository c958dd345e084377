#pragma once
// The catalogue of block types, generated from blockcatalogue.def. Creation by
// id, by command-line block name and by board list all go through it.

#include <cstdint>
#include <memory>

#include "hwdatablock.h"

namespace quenmap {

enum class BlockKind : std::uint16_t {
#define QM_BLOCK(kind, cls, text, base, instances, size) kind,
#include "blockcatalogue.def"
#define QM_BLOCK(kind, cls, text, base, instances, size) kind,
#include "tables/tablecatalogue.def"
    Count
};

using BlockFactory = std::unique_ptr<HwDatablock> (*)(std::uint32_t instance, std::uint8_t flag);

struct BlockType {
    BlockKind kind;
    const char* className;
    const char* textName;
    std::uint16_t baseId;
    std::uint16_t instances;
    std::uint32_t size;
    BlockFactory create;
};

// All rows of the catalogue, in the order of blockcatalogue.def.
const BlockType* blockTypesBegin();
const BlockType* blockTypesEnd();
const BlockType& blockType(BlockKind kind);

// The type whose ids [base, base + instances) hold id; the alternate ident id
// 10 belongs to the ident type. Null when no type owns the id.
const BlockType* blockTypeForId(std::uint16_t id);

// Creates the block object of an id (instance = id - base id); null when no
// type owns it.
std::unique_ptr<HwDatablock> createBlockForId(std::uint16_t id, std::uint8_t flag = 1);

}  // namespace quenmap
