#pragma once
// The values of a loaded block in physical units, read by its type's view row.

#include <cstdint>
#include <functional>

#include "datablocks/blockcatalogue.h"
#include "model/model.h"

namespace quenview {

// A block of the same image by id (a companion frequency list); null when the
// image has none.
using CompanionLookup = std::function<const quenmap::HwDatablock*(std::uint16_t id)>;

// Decodes a block loaded into the object of its type. Only the counted content
// is data; "no value" markers become absent values.
BlockContent decodeContent(const quenmap::HwDatablock& block, const quenmap::BlockType& type,
                           const CompanionLookup& companions);

// The instance of a block id of its type (path A to D, state, input, counter).
Instance instanceOf(const quenmap::BlockType& type, std::uint16_t id);

}  // namespace quenview
