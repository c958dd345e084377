#pragma once
// In-process conversions for the conversion tests of the tables and layouts.

#include <map>
#include <sstream>
#include <string>

#include "driver/blockselection.h"
#include "driver/conversion.h"

namespace quenmap::test {

struct Outcome {
    int status = -1;
    std::string output;       // the image of "-b", the text of "-a"
    std::string diagnostics;  // standard output
    std::string errors;       // standard error
};

inline Outcome textToBinary(const std::string& text, const std::string& blockName) {
    std::istringstream input(text);
    std::ostringstream binary, log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    Outcome outcome;
    outcome.status =
        convertTextToBinary(input, binary, log, {"in.txt", "out.bin", blockName}, console);
    outcome.output = binary.str();
    outcome.diagnostics = out.str();
    outcome.errors = err.str();
    return outcome;
}

inline Outcome binaryToText(const std::string& image) {
    std::istringstream input(image, std::ios::binary);
    std::ostringstream ascii, log, out, err;
    std::istringstream keys;
    Console console{keys, out, err};
    Outcome outcome;
    outcome.status = convertBinaryToText(input, ascii, log, "out.txt", "in.bin", console);
    outcome.output = ascii.str();
    outcome.diagnostics = out.str();
    outcome.errors = err.str();
    return outcome;
}

// The command-line block name of each id that has one.
inline const std::map<std::uint16_t, std::string>& blockNameOfId() {
    static const std::map<std::uint16_t, std::string> names = [] {
        std::map<std::uint16_t, std::string> byId;
        for (const auto& [name, id] : blockNames()) byId.emplace(id, name);
        return byId;
    }();
    return names;
}

inline std::string asString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace quenmap::test
