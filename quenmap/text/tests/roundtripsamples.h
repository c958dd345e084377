#pragma once
// Random images of every block type, within the ranges the type's text form
// carries, for the image -> text -> image property. The generators take their
// shape from the layout rows of the readers and writers (records, single
// values, lists, companion lists, tables) wherever the rows are public, and
// from a short family table for the matrices.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datablocks/blockcatalogue.h"
#include "datablocks/hwdatablock.h"

namespace quenmap::test {

// A deterministic generator (the same numbers on every platform and library).
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint64_t next();
    // Uniform in [0, bound); 0 for a bound of 0.
    std::uint64_t below(std::uint64_t bound);
    // Uniform in [low, high].
    std::int64_t between(std::int64_t low, std::int64_t high);
    bool oneIn(std::uint32_t n) { return below(n) == 0; }

  private:
    std::uint64_t state_;
};

// A real stored in the image that the text carries only to its printed precision.
struct ApproximateSlot {
    std::size_t offset;
    std::size_t width;  // 4 (float) or 8 (double)
    double tolerance;   // absolute, in stored units
};

struct ByteRange {
    std::size_t offset;
    std::size_t size;
};

struct Sample {
    // Blocks whose sections the reader of the block needs (its frequency
    // block): written before it in the image.
    std::vector<Bytes> companions;
    Bytes image;  // with its checksum
    // Bytes that the text does not carry (compared neither way).
    std::vector<ByteRange> ignored;
    std::vector<ApproximateSlot> approximate;
};

// Why a type is left out of the property; null for a type that reads back.
const char* exclusionReason(BlockKind kind);

// True when a generator exists for the type.
bool hasSampleGenerator(const BlockType& type);

// The sample number `index` of an instance of the type. Sample 0 has every
// count at 0, sample 1 every count at its capacity, the others random counts.
Sample makeSample(const BlockType& type, std::uint32_t instance, std::size_t index, Rng& rng);

// The checksum making all 16-bit words of the image sum to 0.
void sealImage(Bytes& image);

}  // namespace quenmap::test
