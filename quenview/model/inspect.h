#pragma once
// The inspection of one EEPROM image: every block in file order, decoded even
// where its checksum fails, unknown and unloadable blocks kept as raw bytes,
// and what follows the END block.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "datablocks/blockcatalogue.h"
#include "datablocks/hwdatablock.h"
#include "model.h"

namespace quenview {

// The walk of an image: the report's board, service history, status and
// blocks, each block's content decoded only when asked for, so that a writer
// can take the blocks one by one and the report of a large image is never
// held with every content at once. The file information is the caller's.
// Reads nothing outside [data, data + size); keeps no pointer into it.
class ImageWalk {
  public:
    ImageWalk(const std::uint8_t* data, std::size_t size);

    Report& report() { return report_; }
    const Report& report() const { return report_; }
    // The decoded content of report().blocks[blockIndex]; empty for blocks
    // that no type could load.
    BlockContent contentOf(std::size_t blockIndex) const;
    // The report with every block's content.
    Report decodedReport() &&;

  private:
    struct Decodable {
        const quenmap::HwDatablock* object;
        const quenmap::BlockType* type;
    };
    Report report_;
    // The loaded blocks stay alive with the walk: a block's companion (its
    // frequency list) may stand before or after it.
    std::vector<std::unique_ptr<quenmap::HwDatablock>> objects_;
    std::map<std::uint16_t, const quenmap::HwDatablock*> byId_;
    std::map<std::size_t, Decodable> decodable_;
};

// The walk with every block's content decoded.
Report inspectImage(const std::uint8_t* data, std::size_t size);

// Packed dates: bits 9-15 year - 1980, bits 5-8 month, bits 0-4 day, as YYYY-MM-DD.
std::string dateText(std::uint16_t packed);

}  // namespace quenview
