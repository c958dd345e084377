#pragma once
// The decoder of each form of block content (viewtable.h's Form). Each reads
// a block object of its type's class and appends fields and grids; a block
// object of another class gives no content.

#include "contentgrid.h"
#include "datablocks/hwdatablock.h"

namespace quenview {

// recordcontent.cpp
void decodeIdent(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeModification(const quenmap::HwDatablock& block, const DecodeInput& input,
                        BlockContent& out);
void decodeService(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeStatistic(const quenmap::HwDatablock& block, const DecodeInput& input,
                     BlockContent& out);
void decodeRecord(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeSingle(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);

// listcontent.cpp (the nine lowpass lists too)
void decodeList(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
// The values of a frequency list as the x axes of the blocks it belongs to:
// one axis per counted list, and for a table the first column.
void listAxes(const quenmap::HwDatablock& block, const DecodeInput& input, std::vector<Axis>& axes);
void decodeMatrix(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);

// tablecontent.cpp
void decodeTable(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void tableAxes(const quenmap::HwDatablock& block, const DecodeInput& input,
               std::vector<Axis>& axes);

// specialcontent.cpp
void decodeAmGain(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeAduOffset(const quenmap::HwDatablock& block, const DecodeInput& input,
                     BlockContent& out);
void decodeRfmState(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeRfmV20(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeRfmMisc(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeIqOp6Calib(const quenmap::HwDatablock& block, const DecodeInput& input,
                      BlockContent& out);
void decodeLowpass(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out);
void decodeAttResponse(const quenmap::HwDatablock& block, const DecodeInput& input,
                       BlockContent& out);
void decodeDetLinCorr(const quenmap::HwDatablock& block, const DecodeInput& input,
                      BlockContent& out);

}  // namespace quenview
