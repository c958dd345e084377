#pragma once
// Every block of every catalogue type, loaded from the full-capacity image
// factory, with a companion lookup over them.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "fullimage.h"
#include "views/blockcontent.h"

namespace quenview::testing {

enum class Counts : std::uint8_t { Scaled, Huge };

class LoadedBlocks {
  public:
    // Counts at `fraction` of their capacity, or far above it.
    explicit LoadedBlocks(double fraction, Counts counts = Counts::Scaled);

    // Every id of every type (END included), in catalogue order.
    const std::vector<std::uint16_t>& ids() const { return ids_; }
    const quenmap::HwDatablock* block(std::uint16_t id) const;
    CompanionLookup lookup() const;
    quenmap::bench::ImageFactory& factory() { return factory_; }

  private:
    quenmap::bench::ImageFactory factory_;
    std::vector<std::uint16_t> ids_;
    std::map<std::uint16_t, std::unique_ptr<quenmap::HwDatablock>> blocks_;
};

// Loads one block image into the object of its id; null when it does not load.
std::unique_ptr<quenmap::HwDatablock> loadBlock(const quenmap::Bytes& image);

}  // namespace quenview::testing
