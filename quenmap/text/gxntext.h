#pragma once
// The text form of the GXN RF-board table blocks: a commented head, the ID and
// COUNT lines, and right-aligned row numbers with fixed-width cells.

#include <ostream>

#include "datablocks/tables/hwtabledatablock.h"
#include "primitives.h"

namespace quenmap {

bool isGxnForm(TableTextForm form);
std::ostream& writeGxnTableText(std::ostream& out, const HwTableDatablock& block);
// Reads the block's section from the start of the text; messages go to the
// diagnostics stream and the block is loaded with whatever was read.
void readGxnTableText(TextInput& text, HwTableDatablock& block);

}  // namespace quenmap
