#pragma once
// Text forms of the block types that are described by layout rows rather than
// written by hand: the counted single values, lists and companion lists and
// the records of the board catalogue. A block class without a text form of its
// own prints through writeTextByLayout.

#include <cstdint>
#include <ostream>

#include "textreaders.h"

namespace quenmap {

// The reader of the type with this block id, or null when no layout row has it.
TextReader layoutReaderFor(std::uint16_t blockId);

// Prints the block in the text form of its layout row; nothing when its id has none.
std::ostream& writeTextByLayout(std::ostream& out, const HwDatablock& block);

}  // namespace quenmap
