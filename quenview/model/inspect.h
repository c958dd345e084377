#pragma once
// The inspection of one EEPROM image: every block in file order, decoded even
// where its checksum fails, unknown and unloadable blocks kept as raw bytes,
// and what follows the END block.

#include <cstddef>
#include <cstdint>

#include "model.h"

namespace quenview {

// Walks the image and fills the report's board, service history, status and
// blocks; the file information is the caller's. Reads nothing outside
// [data, data + size).
Report inspectImage(const std::uint8_t* data, std::size_t size);

// Packed dates: bits 9-15 year - 1980, bits 5-8 month, bits 0-4 day, as YYYY-MM-DD.
std::string dateText(std::uint16_t packed);

}  // namespace quenview
