#pragma once
// printf-style formatting into a std::string, for the writers' number formats.

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

}  // namespace quenmap
