#include "textformat.h"

#include <charconv>
#include <cstdlib>
#include <vector>

namespace quenmap {

namespace {

// Fixed-point texts of doubles reach 309 digits before the point.
constexpr std::size_t kFixedRoom = 400;

template <typename... Options>
std::string charsOf(Options... options) {
    char buffer[kFixedRoom];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, options...);
    if (result.ec != std::errc()) return {};
    return std::string(buffer, result.ptr);
}

// The precision n of a format that is exactly "%.<n>f", else -1.
int fixedPrecision(const char* format) {
    if (format[0] != '%' || format[1] != '.') return -1;
    char* end = nullptr;
    long precision = std::strtol(format + 2, &end, 10);
    if (end == format + 2 || end[0] != 'f' || end[1] != '\0' || precision > 60) return -1;
    return static_cast<int>(precision);
}

}  // namespace

void appendInteger(std::string& text, long long value) {
    char buffer[24];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

void appendUnsigned(std::string& text, unsigned long long value) {
    char buffer[24];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

void appendFixed(std::string& text, double value, int decimals) {
    char buffer[kFixedRoom];
    std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc()) {
        text.append(buffer, result.ptr);
    } else {
        text += formatText("%.*f", decimals, value);
    }
}

void appendFixed(std::string& text, double value, int width, int decimals) {
    const std::size_t start = text.size();
    appendFixed(text, value, decimals);
    const std::size_t written = text.size() - start;
    if (written < static_cast<std::size_t>(width)) {
        text.insert(start, static_cast<std::size_t>(width) - written, ' ');
    }
}

std::string fixedText(double value, int decimals) {
    std::string text = charsOf(value, std::chars_format::fixed, decimals);
    return text.empty() ? formatText("%.*f", decimals, value) : text;
}

std::string formatReal(const char* format, double value) {
    int precision = fixedPrecision(format);
    return precision >= 0 ? fixedText(value, precision) : formatText(format, value);
}

std::string shortestFixedText(double value) {
    std::string text = charsOf(value, std::chars_format::fixed);
    return text.empty() ? formatText("%.17g", value) : text;
}

std::string shortestFixedText(float value) {
    std::string text = charsOf(value, std::chars_format::fixed);
    return text.empty() ? formatText("%.9g", static_cast<double>(value)) : text;
}

}  // namespace quenmap
