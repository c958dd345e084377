#include "textlabels.h"

#include "textformat.h"

namespace quenmap {

// The shortest fixed-point text that reads back as the same value.
std::string exactText(double value) {
    return shortestFixedText(value);
}

std::string exactText(float value) {
    return shortestFixedText(value);
}

}  // namespace quenmap
