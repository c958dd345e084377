#include "textformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quenmap {

namespace {

// "00" to "99": two decimal digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

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

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr std::uint64_t kWholePowersOfTen[] = {1,
                                               10,
                                               100,
                                               1000,
                                               10000,
                                               100000,
                                               1000000,
                                               10000000,
                                               100000000,
                                               1000000000,
                                               10000000000,
                                               100000000000,
                                               1000000000000,
                                               10000000000000,
                                               100000000000000,
                                               1000000000000000};

// Writes exactly `digits` decimal digits of value (leading zeros kept), in
// the narrowest arithmetic that holds it.
template <typename Unsigned>
void writeDigits(char* at, Unsigned value, int digits) {
    char* end = at + digits;
    while (end - at >= 2) {
        const char* pair = kDigitPairs + 2 * (value % 100);
        end -= 2;
        end[0] = pair[0];
        end[1] = pair[1];
        value /= 100;
    }
    if (end > at) *at = static_cast<char>('0' + value % 10);
}

// "%.<decimals>f" of value without the general exact algorithm. The whole
// part and the fraction of a double split exactly; the fraction times
// 10^decimals, rounded in double arithmetic, is within half a unit in the
// last place of the exact product, so its rounding to a whole number is the
// exact one unless it lies that close to one half. Returns the end of the
// text, or nullptr when this path cannot decide.
char* writeFixedFast(char* out, double value, int decimals) {
    if (decimals < 0 || decimals > 15) return nullptr;
    const double magnitude = std::fabs(value);
    if (!(magnitude < 0x1p63)) return nullptr;  // also NaN and infinities
    // Conversions to integers truncate; both parts are below 2^63.
    std::uint64_t wholePart = static_cast<std::uint64_t>(magnitude);
    const double fraction = magnitude - static_cast<double>(wholePart);
    if (fraction == 0.0) {
        // Whole values, common in the tables: the fraction is all zeros.
        if (std::signbit(value)) *out++ = '-';
        out = writeDecimal(out, wholePart);
        if (decimals == 0) return out;
        *out++ = '.';
        std::memset(out, '0', static_cast<std::size_t>(decimals));
        return out + decimals;
    }
    const double scaled = fraction * kPowersOfTen[decimals];
    std::uint64_t fractionPart = static_cast<std::uint64_t>(scaled);
    const double remainder = scaled - static_cast<double>(fractionPart);
    if (std::fabs(remainder - 0.5) <= scaled * 0x1p-52) return nullptr;
    if (remainder > 0.5 && ++fractionPart == kWholePowersOfTen[decimals]) {
        fractionPart = 0;
        ++wholePart;
    }
    if (std::signbit(value)) *out++ = '-';
    out = writeDecimal(out, wholePart);
    if (decimals == 0) return out;
    *out++ = '.';
    if (fractionPart <= UINT32_MAX) {
        writeDigits(out, static_cast<std::uint32_t>(fractionPart), decimals);
    } else {
        writeDigits(out, fractionPart, decimals);
    }
    return out + decimals;
}

void writePair(char* out, std::uint32_t twoDigits) {
    out[0] = kDigitPairs[2 * twoDigits];
    out[1] = kDigitPairs[2 * twoDigits + 1];
}

// Exactly four digits of a value below 10000.
void writeFourDigits(char* out, std::uint32_t value) {
    writePair(out, value / 100);
    writePair(out + 2, value % 100);
}

// Exactly eight digits of a value below 10^8.
void writeEightDigits(char* out, std::uint32_t value) {
    writeFourDigits(out, value / 10000);
    writeFourDigits(out + 4, value % 10000);
}

// The digits of a value below 10^8, without leading zeros.
char* writeUpToEightDigits(char* out, std::uint32_t value) {
    if (value >= 10000) {
        out = writeUpToEightDigits(out, value / 10000);
        writeFourDigits(out, value % 10000);
        return out + 4;
    }
    if (value >= 1000) {
        writeFourDigits(out, value);
        return out + 4;
    }
    if (value >= 100) {
        *out++ = static_cast<char>('0' + value / 100);
        writePair(out, value % 100);
        return out + 2;
    }
    if (value >= 10) {
        writePair(out, value);
        return out + 2;
    }
    *out = static_cast<char>('0' + value);
    return out + 1;
}

}  // namespace

char* writeDecimal(char* out, std::uint64_t value) {
    constexpr std::uint64_t kEightDigits = 100000000;
    if (value < kEightDigits) return writeUpToEightDigits(out, static_cast<std::uint32_t>(value));
    if (value < kEightDigits * kEightDigits) {
        out = writeUpToEightDigits(out, static_cast<std::uint32_t>(value / kEightDigits));
    } else {
        const std::uint64_t top = value / (kEightDigits * kEightDigits);
        out = writeUpToEightDigits(out, static_cast<std::uint32_t>(top));
        value %= kEightDigits * kEightDigits;
        writeEightDigits(out, static_cast<std::uint32_t>(value / kEightDigits));
        out += 8;
    }
    writeEightDigits(out, static_cast<std::uint32_t>(value % kEightDigits));
    return out + 8;
}

void LineBuffer::grow(std::size_t size) {
    storage_.resize(std::max(2 * storage_.size(), used_ + size));
}

void LineBuffer::appendFixed(double value, int decimals) {
    char* at = room(kFixedRoom);
    char* end = writeFixedFast(at, value, decimals);
    if (end == nullptr) {
        std::to_chars_result result =
            std::to_chars(at, at + kFixedRoom, value, std::chars_format::fixed, decimals);
        if (result.ec != std::errc()) {
            append(formatText("%.*f", decimals, value));
            return;
        }
        end = result.ptr;
    }
    used_ = static_cast<std::size_t>(end - storage_.data());
}

void LineBuffer::appendFixed(double value, int width, int decimals) {
    const std::size_t start = used_;
    appendFixed(value, decimals);
    const std::size_t written = used_ - start;
    if (written >= static_cast<std::size_t>(width)) return;
    const std::size_t padding = static_cast<std::size_t>(width) - written;
    room(padding);
    char* first = storage_.data() + start;
    std::memmove(first + padding, first, written);
    std::memset(first, ' ', padding);
    used_ += padding;
}

std::string fixedText(double value, int decimals) {
    char buffer[kFixedRoom];
    if (char* end = writeFixedFast(buffer, value, decimals)) return std::string(buffer, end);
    std::string text = charsOf(value, std::chars_format::fixed, decimals);
    return text.empty() ? formatText("%.*f", decimals, value) : text;
}

std::string formatReal(const char* format, double value) {
    int precision = fixedPrecision(format);
    return precision >= 0 ? fixedText(value, precision) : formatText(format, value);
}

std::string streamText(double value) {
    std::string text = charsOf(value, std::chars_format::general, 6);
    return text.empty() ? formatText("%g", value) : text;
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
