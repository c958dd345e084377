#pragma once
// Number formatting for the writers. printf-style formatting into a string,
// and the fixed-point forms the writers use most, which are written exactly
// as printf writes them but without its cost on large tables.

#include <cstdio>
#include <string>

namespace quenmap {

template <typename... Args>
std::string formatText(const char* format, Args... args) {
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, n);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, args...);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

// Appends a whole number in decimal, as the stream would write it.
void appendInteger(std::string& text, long long value);
void appendUnsigned(std::string& text, unsigned long long value);

// Appends "%.<decimals>f" of value.
void appendFixed(std::string& text, double value, int decimals);

// Appends "%<width>.<decimals>f" of value (blank-padded on the left).
void appendFixed(std::string& text, double value, int width, int decimals);

// The text "%.<decimals>f" gives for value.
std::string fixedText(double value, int decimals);

// A real through a printf format; "%.<n>f" takes the fast path of fixedText.
std::string formatReal(const char* format, double value);

// The shortest fixed-point text that reads back as exactly this value.
std::string shortestFixedText(double value);
std::string shortestFixedText(float value);

}  // namespace quenmap
