#include "primitives.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

namespace quenmap {

void TextInput::rewind() {
    in_.clear();
    in_.seekg(0, std::ios::beg);
}

namespace {

using Traits = std::istream::traits_type;

// The characters a stream buffer holds ready, read in place: the readers
// scan every character of texts of hundreds of kilobytes, and a call per
// character through the buffer's interface costs more than the scan itself.
// The get area's pointers are protected; naming them through a derived
// class gives pointers to the members that apply to any stream buffer.
class GetArea : public std::streambuf {
  public:
    static const char* next(std::streambuf* buffer) { return (buffer->*&GetArea::gptr)(); }
    static const char* end(std::streambuf* buffer) { return (buffer->*&GetArea::egptr)(); }
    static void advance(std::streambuf* buffer, const char* to) {
        std::ptrdiff_t step = to - next(buffer);
        while (step > 0) {
            const int part = static_cast<int>(std::min<std::ptrdiff_t>(step, INT_MAX));
            (buffer->*&GetArea::gbump)(part);
            step -= part;
        }
    }
};

// Consumes characters while keep(c) holds; returns the first one that does
// not (left unread), or eof.
template <typename Keep>
Traits::int_type skipWhile(std::streambuf* buffer, Keep keep) {
    for (;;) {
        const char* at = GetArea::next(buffer);
        const char* const end = GetArea::end(buffer);
        while (at != end && keep(*at)) ++at;
        GetArea::advance(buffer, at);
        if (at != end) return Traits::to_int_type(*at);
        // The ready characters are used up: the buffer refills or ends.
        if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) return Traits::eof();
    }
}

// Consumes characters up to the next c (left unread); returns it, or eof.
Traits::int_type skipUntil(std::streambuf* buffer, char c) {
    for (;;) {
        const char* const at = GetArea::next(buffer);
        const char* const end = GetArea::end(buffer);
        const void* found =
            at == end ? nullptr : std::memchr(at, c, static_cast<std::size_t>(end - at));
        if (found != nullptr) {
            GetArea::advance(buffer, static_cast<const char*>(found));
            return Traits::to_int_type(c);
        }
        GetArea::advance(buffer, end);
        if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) return Traits::eof();
    }
}

// White space of the C locale; a function object rather than a function,
// so that skipWhile inlines it.
constexpr auto isBlankChar = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };

// Reads the next non-blank character as `in >> c` does.
bool readCharacter(std::istream& in, char& c) {
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    const Traits::int_type ch = skipWhile(buffer, isBlankChar);
    if (Traits::eq_int_type(ch, Traits::eof())) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    c = Traits::to_char_type(ch);
    buffer->sbumpc();
    return true;
}

}  // namespace

const char* readyCharacters(std::istream& in, std::size_t count) {
    if (!in.good()) return nullptr;
    std::streambuf* buffer = in.rdbuf();
    const char* next = GetArea::next(buffer);
    const char* end = GetArea::end(buffer);
    return next != nullptr && static_cast<std::size_t>(end - next) >= count ? next : nullptr;
}

void skipReadyCharacters(std::istream& in, std::size_t count) {
    std::streambuf* buffer = in.rdbuf();
    GetArea::advance(buffer, GetArea::next(buffer) + count);
}

bool readToken(std::istream& in, std::string& token) {
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    if (Traits::eq_int_type(skipWhile(buffer, isBlankChar), Traits::eof())) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    token.clear();
    for (;;) {
        const char* const start = GetArea::next(buffer);
        const char* const end = GetArea::end(buffer);
        const char* at = start;
        while (at != end && !isBlankChar(*at)) ++at;
        token.append(start, at);
        GetArea::advance(buffer, at);
        if (at != end) return true;
        if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) {
            in.setstate(std::ios::eofbit);
            return true;
        }
    }
}

bool readTokenStartingWith(std::istream& in, std::string& token, const CharSet& leading) {
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        if (!in.good()) {
            in.setstate(std::ios::failbit);
            return false;
        }
        const Traits::int_type first = skipWhile(buffer, isBlankChar);
        if (Traits::eq_int_type(first, Traits::eof())) {
            in.setstate(std::ios::eofbit | std::ios::failbit);
            return false;
        }
        if (leading[static_cast<unsigned char>(Traits::to_char_type(first))]) {
            return readToken(in, token);
        }
        const Traits::int_type after = skipWhile(buffer, [](char c) { return !isBlankChar(c); });
        if (Traits::eq_int_type(after, Traits::eof())) in.setstate(std::ios::eofbit);
    }
}

bool readTokenStartingWith(std::istream& in, std::string& token, char leading) {
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    // Where the search begins counts as the start of a token, as extraction
    // reads from there; elsewhere a token starts after a blank.
    bool afterBlank = true;
    for (;;) {
        const char* at = GetArea::next(buffer);
        const char* const end = GetArea::end(buffer);
        while (at != end) {
            const char* hit = static_cast<const char*>(
                std::memchr(at, leading, static_cast<std::size_t>(end - at)));
            if (hit == nullptr) {
                afterBlank = isBlankChar(end[-1]);
                at = end;
                break;
            }
            if (hit == GetArea::next(buffer) ? afterBlank : isBlankChar(hit[-1])) {
                GetArea::advance(buffer, hit);
                return readToken(in, token);
            }
            at = hit + 1;
        }
        GetArea::advance(buffer, end);
        if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) {
            in.setstate(std::ios::eofbit | std::ios::failbit);
            return false;
        }
    }
}

DecimalText extractDecimal(std::istream& in) {
    DecimalText text{false, false, 0};
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return text;
    }
    std::streambuf* buffer = in.rdbuf();
    Traits::int_type ch = skipWhile(buffer, isBlankChar);
    if (ch == '+' || ch == '-') {
        text.negative = ch == '-';
        ch = buffer->snextc();
    }
    bool digits = false;
    bool overflow = false;
    auto takeDigit = [&](char c) {
        if (c < '0' || c > '9') return false;
        constexpr std::uint64_t kMaximum = std::numeric_limits<std::uint64_t>::max();
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (text.magnitude < kMaximum / 10 ||
            (text.magnitude == kMaximum / 10 && digit <= kMaximum % 10)) {
            text.magnitude = text.magnitude * 10 + digit;
        } else {
            overflow = true;
        }
        digits = true;
        return true;
    };
    if (!Traits::eq_int_type(ch, Traits::eof())) ch = skipWhile(buffer, takeDigit);
    if (Traits::eq_int_type(ch, Traits::eof())) in.setstate(std::ios::eofbit);
    if (!digits || overflow) {
        in.setstate(std::ios::failbit);
        return text;
    }
    text.ok = true;
    return text;
}

std::size_t extractDecimals(std::istream& in, DecimalText* values, std::size_t count) {
    std::streambuf* buffer = in.rdbuf();
    for (std::size_t taken = 0; taken < count; ++taken) {
        // A number that ends well inside the ready characters is read here;
        // at the end of them, with more digits than 64 bits surely hold, or
        // without digits, extractDecimal reads it with its stream states.
        const char* at = in.good() ? GetArea::next(buffer) : nullptr;
        const char* const end = at != nullptr ? GetArea::end(buffer) : nullptr;
        while (at != end && isBlankChar(*at)) ++at;
        DecimalText text{true, false, 0};
        if (at != end && (*at == '-' || *at == '+')) text.negative = *at++ == '-';
        const char* const digits = at;
        constexpr std::ptrdiff_t kSafeDigits = 19;
        while (at != end && *at >= '0' && *at <= '9' && at - digits < kSafeDigits) {
            text.magnitude = text.magnitude * 10 + static_cast<std::uint64_t>(*at++ - '0');
        }
        if (at == end || at == digits || (*at >= '0' && *at <= '9')) {
            values[taken] = extractDecimal(in);
            if (!values[taken].ok) return taken + 1;
            continue;
        }
        GetArea::advance(buffer, at);
        values[taken] = text;
    }
    return count;
}

bool findKeyword(std::istream& in, const std::string& word, bool required) {
    std::string token;
    readToken(in, token);
    // The token that ran into the end of the text is not compared.
    if (in.eof()) {
        if (required) failMissingString(word);
        return false;
    }
    for (;;) {
        if (token == word) return true;
        if (in.eof() || in.fail()) break;
        readToken(in, token);
    }
    if (required) failMissingString(word);
    return false;
}

bool skipToChar(std::istream& in, char c, bool required) {
    bool found = false;
    if (isBlankChar(c)) {
        char read = 0;
        found = readCharacter(in, read);
        while (found && read != c) found = readCharacter(in, read);
    } else if (!in.good()) {
        in.setstate(std::ios::failbit);
    } else {
        // Reading non-blank characters until c is finding the next c.
        std::streambuf* buffer = in.rdbuf();
        const Traits::int_type ch = skipUntil(buffer, c);
        found = !Traits::eq_int_type(ch, Traits::eof());
        if (found) {
            buffer->sbumpc();
        } else {
            in.setstate(std::ios::eofbit | std::ios::failbit);
        }
    }
    if (found) return true;
    if (required) failMissingString(std::string(" ") + c);
    return false;
}

void checkCount(std::int64_t count, std::int32_t maximum, const std::string& blockName) {
    if (count > std::numeric_limits<std::int32_t>::max() || count > maximum) {
        throw TextFailure{kStatusCountTooHigh, " count of Block " + blockName + " is too high"};
    }
}

void failMissingString(const std::string& text) {
    throw TextFailure{kStatusMissingString, "can not find string:  " + text + "  in ASCII-File"};
}

void failInvalidValue(const std::string& blockName) {
    throw TextFailure{kStatusMissingString, "invalid value in ASCII-File, block " + blockName};
}

bool findSection(TextInput& text, const std::string& identifier, bool required) {
    std::istream& in = text.stream();
    std::istream::pos_type start = in.tellg();
    bool wasAtEnd = text.exhausted();
    if (findKeyword(in, identifier, required)) return true;
    if (!wasAtEnd && start != std::istream::pos_type(-1)) {
        in.clear();
        in.seekg(start);
    }
    return false;
}

void readSeparator(std::istream& in, const std::string& blockName) {
    char separator = 0;
    if (!(in >> separator)) failInvalidValue(blockName);
}

std::string readWordOfLine(std::istream& in) {
    while (in.peek() == ' ' || in.peek() == '\t') in.get();
    const int next = in.peek();
    std::string word;
    if (next != '\n' && next != '\r' && next != std::char_traits<char>::eof()) in >> word;
    return word;
}

}  // namespace quenmap
