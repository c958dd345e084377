#pragma once
// The two conversions of a run, on streams the run has opened.

#include <iosfwd>
#include <string>

#include "run.h"

namespace quenmap {

struct TextToBinaryRequest {
    std::string asciiPath;
    std::string binaryPath;
    std::string blockName;  // empty or "COMPLETE_EEPROM": the complete conversion
};

// Text to binary image. Nothing is written to the image or the log before
// every read has succeeded; a fatal text error writes its message to the
// console's error stream and leaves both empty.
int convertTextToBinary(std::istream& text, std::ostream& binary, std::ostream& log,
                        const TextToBinaryRequest& request, const Console& console);

// Binary image to text, block by block; the text of the blocks converted
// before a failure is kept.
int convertBinaryToText(std::istream& image, std::ostream& ascii, std::ostream& log,
                        const std::string& asciiPath, const std::string& binaryPath,
                        const Console& console);

}  // namespace quenmap
