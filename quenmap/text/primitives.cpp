#include "primitives.h"

#include <limits>

namespace quenmap {

void TextInput::rewind() {
    in_.clear();
    in_.seekg(0, std::ios::beg);
}

namespace {

using Traits = std::istream::traits_type;

// White space of the C locale.
bool isBlank(Traits::int_type ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// Reads the next white-space-separated token exactly as `in >> token` does
// (the same state bits), straight from the stream buffer: the keyword
// searches read every token of the text.
bool readToken(std::istream& in, std::string& token) {
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    Traits::int_type ch = buffer->sgetc();
    while (!Traits::eq_int_type(ch, Traits::eof()) && isBlank(ch)) ch = buffer->snextc();
    if (Traits::eq_int_type(ch, Traits::eof())) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    token.clear();
    while (!Traits::eq_int_type(ch, Traits::eof()) && !isBlank(ch)) {
        token.push_back(Traits::to_char_type(ch));
        ch = buffer->snextc();
    }
    if (Traits::eq_int_type(ch, Traits::eof())) in.setstate(std::ios::eofbit);
    return true;
}

// Reads the next non-blank character as `in >> c` does.
bool readCharacter(std::istream& in, char& c) {
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    Traits::int_type ch = buffer->sgetc();
    while (!Traits::eq_int_type(ch, Traits::eof()) && isBlank(ch)) ch = buffer->snextc();
    if (Traits::eq_int_type(ch, Traits::eof())) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    c = Traits::to_char_type(ch);
    buffer->sbumpc();
    return true;
}

}  // namespace

DecimalText extractDecimal(std::istream& in) {
    DecimalText text{false, false, 0};
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return text;
    }
    std::streambuf* buffer = in.rdbuf();
    Traits::int_type ch = buffer->sgetc();
    while (!Traits::eq_int_type(ch, Traits::eof()) && isBlank(ch)) ch = buffer->snextc();
    if (ch == '+' || ch == '-') {
        text.negative = ch == '-';
        ch = buffer->snextc();
    }
    bool digits = false;
    bool overflow = false;
    while (!Traits::eq_int_type(ch, Traits::eof()) && ch >= '0' && ch <= '9') {
        const std::uint64_t digit = static_cast<std::uint64_t>(ch - '0');
        if (text.magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
            overflow = true;
        } else {
            text.magnitude = text.magnitude * 10 + digit;
        }
        digits = true;
        ch = buffer->snextc();
    }
    if (Traits::eq_int_type(ch, Traits::eof())) in.setstate(std::ios::eofbit);
    if (!digits || overflow) {
        in.setstate(std::ios::failbit);
        return text;
    }
    text.ok = true;
    return text;
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
    char read = 0;
    bool found = readCharacter(in, read);
    while (found && read != c) found = readCharacter(in, read);
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

}  // namespace quenmap
