#pragma once
// Binary images with every block filled to its capacity (or to a fraction of
// it) with plausible values, for the benchmarks. A block's fill plan names
// where its counts lie and what kind of number each payload region holds, so
// that reals are real numbers and counts stay within what the type allows.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "datablocks/bytes.h"

namespace quenmap::bench {

// RowNumber: u32 values 1, 2, 3, ... (the row labels as the text numbers them).
enum class Fill : std::uint8_t { I8, U8, I16, U16, I32, U32, F32, F64, Text, RowNumber };

// Count, row or column field of a block, and the value that fills the block.
struct CountField {
    std::size_t offset;
    std::size_t width;  // 1, 2 or 4 bytes
    std::uint32_t capacity;
};

// `count` values of one kind from `offset` on.
struct Region {
    std::size_t offset;
    Fill fill;
    std::size_t count;
};

struct FillPlan {
    std::size_t size = 0;
    std::vector<CountField> counts;
    std::vector<Region> regions;
    // A block whose bytes come from a shipped example image (records with
    // names and dates); empty otherwise.
    Bytes templateBytes;
};

class ImageFactory {
  public:
    // examplesDir holds the shipped example images, the source of the ident,
    // service, modification and statistics records.
    explicit ImageFactory(std::string examplesDir, unsigned seed = 20240611u);

    // The plan of a block id; false when the factory has none for it.
    bool planFor(std::uint16_t id, FillPlan& plan) const;

    // One block's bytes with a valid header and checksum; every count field at
    // `fraction` of its capacity (at least 1). Empty when there is no plan.
    Bytes blockImage(std::uint16_t id, double fraction = 1.0);
    // The same with every count field well above its capacity (four times it,
    // as far as its width holds): a writer that stops at the capacity prints
    // the same as at fraction 1.
    Bytes blockImageWithHugeCounts(std::uint16_t id);

    // Block images one after the other, then the END block.
    Bytes image(const std::vector<std::uint16_t>& ids, double fraction = 1.0, bool withEnd = true);

  private:
    Bytes build(std::uint16_t id, double fraction, bool hugeCounts);
    void fillRegion(Bytes& bytes, const Region& region);
    const Bytes& exampleBlock(std::uint16_t id) const;

    std::string examplesDir_;
    std::mt19937 random_;
    std::vector<std::pair<std::uint16_t, Bytes>> examples_;
};

// Two's complement of the 16-bit word sum, bytes 4-5 counted as 0, stored at 4.
void sealBlock(Bytes& bytes);

// Reads a whole file; empty when it cannot be read.
Bytes readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const std::string& bytes);

}  // namespace quenmap::bench
