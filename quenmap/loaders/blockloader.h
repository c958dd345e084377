#pragma once
// Reads one block of a binary image into its block object.

#include <cstdint>
#include <istream>

#include "datablocks/hwdatablock.h"

namespace quenmap {

enum class LoadResult {
    Loaded,
    Malformed,  // length below the header, past the end of the file, or shorter than the class
    Rejected,   // the block's checksum failed
};

// Reads the 16-bit little-endian block id; bytes past the end read as 0.
std::uint16_t readBlockId(std::istream& in);

// Reads the block whose id was just read (the stream stands after the id):
// its length, then the whole block from its first byte. A malformed block is
// not handed to the object.
LoadResult loadBlock(std::istream& in, HwDatablock& block);

// The stream-extraction form of loadBlock; a block that was not loaded sets
// the stream's failbit.
std::istream& operator>>(std::istream& in, HwDatablock& block);

}  // namespace quenmap
