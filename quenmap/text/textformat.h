#pragma once
// Number formatting for the writers. printf-style formatting into a string,
// and the fixed-point forms the writers use most, which are written exactly
// as printf writes them but without its cost on large tables.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

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

// The decimal digits of value (no sign, no leading zeros); returns their end.
// Split into parts of eight digits, each written in 32-bit arithmetic two
// digits at a time: the tables hold hundreds of thousands of numbers.
char* writeDecimal(char* out, std::uint64_t value);

// Text lines assembled in place. The large tables are written a line at a
// time; building a line from many short pieces costs less here than through
// string appends, which each check, grow and copy out of line.
class LineBuffer {
  public:
    void clear() { used_ = 0; }
    // Lines are gathered and written in large pieces: a stream write per
    // line costs a system call for every line longer than the stream's buffer.
    void writeWhenFull(std::ostream& out) {
        if (used_ >= kWriteSize) writeAll(out);
    }
    void writeAll(std::ostream& out) {
        out.write(storage_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }
    bool empty() const { return used_ == 0; }
    std::string_view view() const { return {storage_.data(), used_}; }

    void append(std::string_view text) {
        char* at = room(text.size());
        // Separators and labels are short: copied here, not by a call.
        if (text.size() <= 16) {
            for (char c : text) *at++ = c;
        } else {
            std::memcpy(at, text.data(), text.size());
        }
        used_ += text.size();
    }
    void append(char c) {
        *room(1) = c;
        ++used_;
    }
    // Whole numbers in decimal, as the stream writes them.
    template <typename Integer>
    void appendInteger(Integer value) {
        static_assert(std::is_integral_v<Integer>, "whole numbers only");
        appendChars(value);
    }
    template <typename Integer>
    void appendUnsigned(Integer value) {
        static_assert(std::is_unsigned_v<Integer>, "unsigned whole numbers only");
        appendChars(value);
    }
    // "%.<decimals>f" of value.
    void appendFixed(double value, int decimals);
    // "%<width>.<decimals>f" of value (blank-padded on the left).
    void appendFixed(double value, int width, int decimals);

  private:
    static constexpr std::size_t kNumberRoom = 24;
    static constexpr std::size_t kWriteSize = 1 << 15;

    char* room(std::size_t size) {
        if (storage_.size() - used_ < size) grow(size);
        return storage_.data() + used_;
    }
    void grow(std::size_t size);
    template <typename T>
    void appendChars(T value) {
        char* at = room(kNumberRoom);
        std::uint64_t magnitude = static_cast<std::uint64_t>(value);
        if constexpr (std::is_signed_v<T>) {
            if (value < 0) {
                *at++ = '-';
                magnitude = std::uint64_t(0) - magnitude;
            }
        }
        used_ = static_cast<std::size_t>(writeDecimal(at, magnitude) - storage_.data());
    }
    std::string storage_ = std::string(256, '\0');
    std::size_t used_ = 0;
};

inline std::ostream& operator<<(std::ostream& out, const LineBuffer& line) {
    const std::string_view text = line.view();
    return out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The text "%.<decimals>f" gives for value.
std::string fixedText(double value, int decimals);

// A real through a printf format; "%.<n>f" takes the fast path of fixedText.
std::string formatReal(const char* format, double value);

// The text a stream writes for a real with its default format ("%.6g"),
// without the stream's locale machinery.
std::string streamText(double value);

// The shortest fixed-point text that reads back as exactly this value.
std::string shortestFixedText(double value);
std::string shortestFixedText(float value);

}  // namespace quenmap
