#include "layouttext.h"

namespace quenmap {

TextReader layoutReaderFor(std::uint16_t) {
    return nullptr;
}

std::ostream& writeTextByLayout(std::ostream& out, const HwDatablock&) {
    return out;
}

}  // namespace quenmap
