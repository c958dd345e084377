#include "primitives.h"

#include <limits>

namespace quenmap {

void TextInput::rewind() {
    in_.clear();
    in_.seekg(0, std::ios::beg);
}

bool findKeyword(std::istream& in, const std::string& word, bool required) {
    std::string token;
    in >> token;
    // The token that ran into the end of the text is not compared.
    if (in.eof()) {
        if (required) failMissingString(word);
        return false;
    }
    for (;;) {
        if (token == word) return true;
        if (in.eof() || in.fail()) break;
        in >> token;
    }
    if (required) failMissingString(word);
    return false;
}

bool skipToChar(std::istream& in, char c, bool required) {
    char read = 0;
    in >> read;
    bool found = !in.eof() && !in.fail();
    while (found && read != c) {
        in >> read;
        found = !in.eof() && !in.fail();
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

}  // namespace quenmap
