#pragma once
// Text readers and writers of the records every image carries: the ident
// blocks, modification, service, statistics and END.

#include <ostream>

#include "primitives.h"

namespace quenmap {

class HwIdentRecord;
class HwDatablockModification;
class HwDatablockServiceData;
class HwDatablockStatistic;
class HwDatablockEnd;

void readIdentText(TextInput& text, HwIdentRecord& block);
void readModificationText(TextInput& text, HwDatablockModification& block);
void readServiceText(TextInput& text, HwDatablockServiceData& block);
void readStatisticText(TextInput& text, HwDatablockStatistic& block);
void readEndText(TextInput& text, HwDatablockEnd& block);

std::ostream& writeIdentText(std::ostream& out, const HwIdentRecord& block);
std::ostream& writeModificationText(std::ostream& out, const HwDatablockModification& block);
std::ostream& writeServiceText(std::ostream& out, const HwDatablockServiceData& block);
std::ostream& writeStatisticText(std::ostream& out, const HwDatablockStatistic& block);
std::ostream& writeEndText(std::ostream& out, const HwDatablockEnd& block);

// The text identifier of an ident block: IDENT_2, STREAM_OPT_IDENT or STREAM_AUX_IDENT.
const char* identIdentifier(std::uint16_t blockId);

}  // namespace quenmap
