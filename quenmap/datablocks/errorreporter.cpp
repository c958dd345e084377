#include "errorreporter.h"

namespace quenmap {

namespace {
const ErrorMessage kMessages[] = {
    {error_codes::kOptionBlockChecksum, 2, 50,
     "Check of option block data failed, invalid checksum"},
    {error_codes::kEepromDataCheckFailed, 1, 202,
     "Check of new EEPROM data failed, download to Eeprom is denied"},
    {error_codes::kWriteToEepromFailed, 1, 203, "WriteToEepromFailed"},
    {error_codes::kEndOfTable, 0, 0, ""},
};
}  // namespace

const ErrorMessage* errorMessageTable() {
    return kMessages;
}

std::string errorMessageText(std::uint32_t code) {
    for (const ErrorMessage* row = kMessages; row->code != error_codes::kEndOfTable; ++row) {
        if (row->code == code) return row->text;
    }
    return {};
}

void ErrorReporter::report(std::uint32_t /*code*/, const std::string& /*detail*/) {}

}  // namespace quenmap
