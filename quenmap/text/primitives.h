#pragma once
// Reading primitives of the ASCII calibration text. Every text reader is built
// on them. A fatal text error is thrown as TextFailure and turned into the
// message and exit status in one place, the conversion run.

#include <algorithm>
#include <array>
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <type_traits>

namespace quenmap {

// Exit statuses raised while the text is read.
constexpr int kStatusMissingString = 1;
constexpr int kStatusCountTooHigh = 2;

struct TextFailure {
    int status;
    std::string message;  // one line, written to standard error without its line end
};

// The text a reader works on: the seekable input and the stream that takes the
// table readers' "ERROR: " diagnostics (standard output in the program).
class TextInput {
  public:
    TextInput(std::istream& in, std::ostream& diagnostics) : in_(in), diagnostics_(diagnostics) {}
    std::istream& stream() { return in_; }
    std::ostream& diagnostics() { return diagnostics_; }
    // Clears the stream's state and seeks to the start of the text.
    void rewind();
    // True when the stream has reached the end of the text or failed.
    bool exhausted() const { return in_.eof() || in_.fail(); }

  private:
    std::istream& in_;
    std::ostream& diagnostics_;
};

// The next count characters when the stream's buffer holds them ready in
// one piece, else nullptr; they stay unread until skipReadyCharacters.
// Lets a reader take a block's bytes where they stand.
const char* readyCharacters(std::istream& in, std::size_t count);
void skipReadyCharacters(std::istream& in, std::size_t count);

// Reads the next white-space-separated token exactly as `in >> token` does
// (the same state bits), straight from the stream buffer: the keyword
// searches read every token of the text.
bool readToken(std::istream& in, std::string& token);
// A set of characters, indexed by the character as unsigned char.
using CharSet = std::array<bool, 256>;
// Reads tokens as readToken does, passing over those whose first character
// is not in leading without keeping them, and answers the first that is.
// Without one, the stream is left at its end (eof and fail set).
bool readTokenStartingWith(std::istream& in, std::string& token, const CharSet& leading);
// The same for a single first character, found without reading every token.
bool readTokenStartingWith(std::istream& in, std::string& token, char leading);
// Reads whitespace-separated tokens until one equals word.
bool findKeyword(std::istream& in, const std::string& word, bool required);
// Reads non-blank characters until one equals c.
bool skipToChar(std::istream& in, char c, bool required);
// Ends the conversion with status 2 when count exceeds maximum; a count of
// 2^31 or more is never valid and is rejected the same way.
void checkCount(std::int64_t count, std::int32_t maximum, const std::string& blockName);
[[noreturn]] void failMissingString(const std::string& text);
// A value inside a present section that does not parse is not a success.
[[noreturn]] void failInvalidValue(const std::string& blockName);

// Searches an optional or required section identifier. When the search is
// optional and finds nothing, the stream is put back where the search began so
// that the next forward-searching reader still finds its own section.
bool findSection(TextInput& text, const std::string& identifier, bool required);

// Formatted extraction of one value of a present section; a value that does
// not parse ends the conversion with the invalid-value message.
// A decimal whole number as formatted extraction reads it (white space, an
// optional sign, the digits; the same stream states), read straight from the
// stream buffer because the readers take hundreds of thousands of them.
struct DecimalText {
    bool ok;  // digits were read and their magnitude fits 64 bits
    bool negative;
    std::uint64_t magnitude;
};
DecimalText extractDecimal(std::istream& in);
// Up to count numbers one after the other, each as extractDecimal reads it;
// stops after the first that does not read. Answers how many were taken
// (when one failed, it is the last of them). The large matrices are read so.
std::size_t extractDecimals(std::istream& in, DecimalText* values, std::size_t count);

// The value of a whole number read as formatted extraction into T reads it;
// a value out of T's range or not read ends the conversion as invalid.
template <typename T>
T checkedValue(std::istream& in, const DecimalText& text, const std::string& blockName) {
    static_assert(std::is_integral_v<T> && sizeof(T) > 1, "whole numbers wider than a byte");
    T value{};
    constexpr auto kMaximum = static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    if (!text.ok) failInvalidValue(blockName);
    if constexpr (std::is_signed_v<T>) {
        // The negative range reaches one further than the positive one.
        if (text.magnitude > kMaximum + (text.negative ? 1 : 0)) {
            in.setstate(std::ios::failbit);
            failInvalidValue(blockName);
        }
        value = text.negative
                    ? static_cast<T>(static_cast<std::int64_t>(std::uint64_t(0) - text.magnitude))
                    : static_cast<T>(text.magnitude);
    } else {
        // Unsigned extraction takes a minus sign and negates, modulo the type.
        if (text.magnitude > kMaximum) {
            in.setstate(std::ios::failbit);
            failInvalidValue(blockName);
        }
        value = text.negative ? static_cast<T>(T(0) - static_cast<T>(text.magnitude))
                              : static_cast<T>(text.magnitude);
    }
    return value;
}

template <typename T>
T readValue(std::istream& in, const std::string& blockName) {
    if constexpr (std::is_integral_v<T> && sizeof(T) > 1) {
        return checkedValue<T>(in, extractDecimal(in), blockName);
    } else {
        T value{};
        if (!(in >> value)) failInvalidValue(blockName);
        return value;
    }
}

// count whole numbers into values, each as readValue<T> reads it.
template <typename T>
void readValues(std::istream& in, const std::string& blockName, T* values, std::size_t count) {
    DecimalText texts[32];
    while (count > 0) {
        const std::size_t taken = extractDecimals(in, texts, std::min<std::size_t>(count, 32));
        for (std::size_t i = 0; i < taken; ++i)
            values[i] = checkedValue<T>(in, texts[i], blockName);
        values += taken;
        count -= taken;
    }
}

// Reads the single separator character between the parts of a number such as
// 1141.2005.02 (any non-blank character serves).
void readSeparator(std::istream& in, const std::string& blockName);

// The word after a key on the key's own line, or none: an empty word is
// written as a bare key, and the next line's text is not that word.
std::string readWordOfLine(std::istream& in);

}  // namespace quenmap
