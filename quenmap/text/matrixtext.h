#pragma once
// Text forms of the matrix blocks: values in rows, whose column count (or row
// count) comes from the companion frequency block of the same path. Every
// matrix type is one row of a layout table read by a few generic readers and
// writers.

#include <cstdint>
#include <ostream>

#include "layouts/layouttable.h"

namespace quenmap {

// The reader of the matrix type that holds this id; null when none does.
TextReader matrixReaderFor(std::uint16_t blockId);
// Prints a matrix block; false when its id is not a matrix type.
bool writeMatrixText(std::ostream& out, const HwDatablock& block);

const LayoutTable& matrixLayoutTable();

}  // namespace quenmap
