#pragma once
// A layout table: a set of layout rows with the generic reader and writer of
// each row's form. writeTextByLayout and layoutReaderFor consult every table.

#include <cstdint>
#include <ostream>

#include "text/textreaders.h"

namespace quenmap {

struct LayoutTable {
    // The reader of the rows that hold this id; null when none does.
    TextReader (*readerFor)(std::uint16_t blockId);
    // Prints the block by the row of its id; false when no row has it.
    bool (*writeText)(std::ostream& out, const HwDatablock& block);
};

}  // namespace quenmap
