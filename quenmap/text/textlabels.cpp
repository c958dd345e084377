#include "textlabels.h"

#include <cstdlib>

#include "textformat.h"

namespace quenmap {

namespace {

template <typename Real, typename Parse>
std::string shortestText(Real value, Parse parse, int maxDecimals, const char* fallback) {
    for (int decimals = 0; decimals <= maxDecimals; ++decimals) {
        std::string text = formatText("%.*f", decimals, static_cast<double>(value));
        if (parse(text.c_str()) == value) return text;
    }
    // Very small magnitudes need the exponent form.
    return formatText(fallback, static_cast<double>(value));
}

}  // namespace

std::string exactText(double value) {
    return shortestText(
        value, [](const char* text) { return std::strtod(text, nullptr); }, 17, "%.17g");
}

std::string exactText(float value) {
    return shortestText(
        value, [](const char* text) { return std::strtof(text, nullptr); }, 9, "%.9g");
}

}  // namespace quenmap
