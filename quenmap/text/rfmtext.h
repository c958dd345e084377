#pragma once
// Text forms of the IQOP3 RFM calibration blocks: the table of one operating
// state (10303-10314), the version 2.0 table (10316) and the per-state
// keyword vectors (10301). Their readers take the calibration system's text,
// which is not the text their writers produce.

#include <cstdint>
#include <ostream>

#include "layouts/layouttable.h"

namespace quenmap {

// Reads the table of operating state `state` (1 to 8) into the block; the
// block id becomes 10302 + state.
void readIqOp3RfmCalibDataText(TextInput& text, HwDatablock& block, std::uint32_t state);

// The reader of an RFM type; the per-state table takes its state from the
// construction counter of its class.
TextReader rfmReaderFor(std::uint16_t blockId);
// Prints an RFM block; false when its id is not one of them.
bool writeRfmText(std::ostream& out, const HwDatablock& block);

const LayoutTable& rfmLayoutTable();

}  // namespace quenmap
