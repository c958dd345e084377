#pragma once
// Label literals and number texts shared by the text writers.

#include <cstddef>
#include <string>

namespace quenmap {

// "ID:" with its 14 padding blanks, as every newer section writes it.
constexpr char kIdLabel[] = "ID:              ";
// Keys of records and count lines are padded to this width ("COUNT:" + 11 blanks).
constexpr std::size_t kKeyWidth = 17;

// The key followed by blanks up to width, and at least one blank.
inline std::string paddedKey(const std::string& key, std::size_t width = kKeyWidth) {
    return key + std::string(key.size() < width ? width - key.size() : 1, ' ');
}

// The shortest fixed-point text that reads back as exactly the same value, so
// that reals without a stated format survive a round trip through the text.
std::string exactText(double value);
std::string exactText(float value);

}  // namespace quenmap
