#pragma once
// Which blocks a conversion handles: the complete-conversion list of each
// board, the block names accepted for a single-block conversion and the ids
// that the binary dispatch knows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quenmap {

enum class ConversionStyle {
    Standard,     // common blocks, the board's own blocks, END
    Stereocoder,  // only the ident block, rewritten with id 10 and name "STEREOCODER"
    PerStateRfm,  // IQOP3_RFM below data version 2: tables per operating state
};

struct BoardConversion {
    std::vector<std::string> unitNames;     // without padding
    std::vector<std::uint16_t> readOrder;   // the board's own blocks; 0xFFFF places END
    std::vector<std::uint16_t> writeOrder;  // empty: as readOrder
    ConversionStyle style = ConversionStyle::Standard;
    int minimumDataVersion = 0;  // IQOP3_RFM: the list for versions >= this
};

// The conversion of a 13-character unit name for a board with the given data
// version (the ident's TESTINSTRUCTION / 100); null when the tool has none.
const BoardConversion* findBoardConversion(const std::string& paddedUnitName, int dataVersion);
const std::vector<BoardConversion>& boardConversions();

// Unit names that pass the device check but have no conversion.
const std::vector<std::string>& boardsWithoutConversion();

// The id a single-block name selects (exact, case-sensitive), or nothing.
std::optional<std::uint16_t> blockIdForName(const std::string& name);
// Every accepted block name with its id, in table order.
const std::vector<std::pair<std::string, std::uint16_t>>& blockNames();

// True for the ids the "-a" dispatch creates a block for (0xFFFF excluded).
bool isDispatchId(std::uint16_t id);
std::vector<std::uint16_t> dispatchIds();

}  // namespace quenmap
