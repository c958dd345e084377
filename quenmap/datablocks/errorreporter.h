#pragma once
// The block classes report failures here with a code and a detail text. In this
// tool the reporter is inert: what a caller sees is the operation's result. The
// message table is kept so that a caller may print the text of a code itself.

#include <cstdint>
#include <string>

namespace quenmap {

struct ErrorMessage {
    std::uint32_t code;
    int messageClass;
    int number;
    const char* text;
};

namespace error_codes {
constexpr std::uint32_t kOptionBlockChecksum = 1040000;
constexpr std::uint32_t kEepromDataCheckFailed = 1040001;
constexpr std::uint32_t kWriteToEepromFailed = 1040002;
constexpr std::uint32_t kEndOfTable = 0xFFFFFFFFu;
}  // namespace error_codes

// The table ends with the row whose code is kEndOfTable.
const ErrorMessage* errorMessageTable();

// The text of a code, or an empty text for a code outside the table.
std::string errorMessageText(std::uint32_t code);

class ErrorReporter {
  public:
    static void report(std::uint32_t code, const std::string& detail);
};

}  // namespace quenmap
