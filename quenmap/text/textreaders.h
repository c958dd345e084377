#pragma once
// The text reader of each block kind, for the conversion run.

#include "datablocks/blockcatalogue.h"
#include "primitives.h"

namespace quenmap {

using TextReader = void (*)(TextInput& text, HwDatablock& block);

// Null for a kind whose text form this build cannot read.
TextReader textReaderFor(BlockKind kind);
// The reader of a catalogue type: its own row below, else its layout row.
TextReader textReaderFor(const BlockType& type);

}  // namespace quenmap
