#pragma once
// The boards the tool knows, as their ident blocks name them.

#include <cstddef>
#include <string>

namespace quenmap {

constexpr std::size_t kUnitNameLength = 13;

struct BoardEntry {
    int index;
    char boardName[32];
    char unitName[14];  // exactly 13 characters, blank-padded, then NUL
    char fileStem[34];
};

constexpr int kBoardCount = 85;

// The 85 rows followed by the terminator row (index 85, "LAST").
const BoardEntry* boardTable();

// True when the first 13 characters of unitName equal the unit name of a row
// 0-84 (case-sensitive; a shorter name compares up to its end).
bool isSupportedDevice(const std::string& unitName);

// Pads a unit name with blanks to 13 characters (longer names are cut).
std::string padUnitName(const std::string& name);

}  // namespace quenmap
