#pragma once
// One input of quenview: a binary EEPROM image or an ASCII calibration text,
// told apart by its content, turned into the report of its board.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "inspect.h"
#include "model.h"

namespace quenview {

// An image starts with an ident block header (id 2 or 10) whose length is at
// least a header and fits the file; anything else is read as text.
bool looksLikeImage(const std::vector<std::uint8_t>& content);

// The report of one input's content. A text is converted in memory exactly as
// quenmap's complete "-b" conversion and the resulting image is inspected;
// when quenmap would reject the text, its message goes to `err` and its
// status is answered (the report is then empty). 0 otherwise.
int reportOf(const std::string& displayName, const std::vector<std::uint8_t>& content,
             std::ostream& err, Report& report);
// The same, as the walk whose block contents are decoded when asked for.
int walkOf(const std::string& displayName, const std::vector<std::uint8_t>& content,
           std::ostream& err, std::unique_ptr<ImageWalk>& walk);

}  // namespace quenview
