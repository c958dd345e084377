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

// Decodes a block loaded into the object its type's catalogue row creates
// (another object gives no content). The values are those the text writer
// prints, in physical units by the type's view row. Only the counted content
// is data; "no value" markers and reals that are not finite become absent
// values. Without its companion block a type still decodes: its rows are
// numbered instead of labelled by frequency, a matrix keeps every column of
// its capacity (as its text does), and it is charted all the same.
BlockContent decodeContent(const quenmap::HwDatablock& block, const quenmap::BlockType& type,
                           const CompanionLookup& companions);

// The instance of a block id of its type: "path" A to D (index from 0),
// "state" with the operating state number, "counter" from 1, "instance"
// numbered from 0; an empty kind for a single-instance type.
Instance instanceOf(const quenmap::BlockType& type, std::uint16_t id);

}  // namespace quenview
