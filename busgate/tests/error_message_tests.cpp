// The message of every code the adaptor reports, and the general text for all
// other numbers.
#include <gtest/gtest.h>

#include <string>

#include "error_messages.h"

using busgate::errorMessage;

namespace {
const std::string kGeneral = "NI: A GPIB error occurred.";
}

TEST(BusgateErrorMessages, KnownCodes) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "NI: The specified board is not installed or configured properly."},
        {-1, "NI: The GPIB board must be Controller-in-Charge."},
        {-2,
         "NI: Timeout occurred during FOPEN. Make sure the instrument is powered on,\nconnected "
         "to the bus and at the primary address specified."},
        {-4, "NI: Invalid argument passed to function call."},
        {-6, "NI: An I/O operation has been canceled mostly likely due to a timeout."},
        {-10,
         "NI: An asynchronous operation has not completed. Use STOPASYNC to stop asynchronous "
         "operations."},
        {-15,
         "NI: One or more serial poll status bytes have been discarded due to a lack of storage "
         "space."},
        {-100, "NI: The maximum Timeout is 1000 seconds."},
        {-200, "NI: A device was not found at the specified primary address."},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(errorMessage(entry.code), std::string(entry.text)) << entry.code;
    }
}

TEST(BusgateErrorMessages, EveryListedCodeHasItsOwnText) {
    const int listed[] = {0, -1, -2, -3, -4, -5, -6, -7, -8, -10, -11, -12, -14, -15, -100, -200};
    for (int code : listed) {
        const std::string text = errorMessage(code);
        EXPECT_EQ(text.rfind("NI: ", 0), 0u) << code;
        EXPECT_NE(text, kGeneral) << code;
    }
}

TEST(BusgateErrorMessages, OtherNumbersGetTheGeneralText) {
    const int unlisted[] = {-9, -13, -16, -99, -101, -199, -201, 1, 5, 572662099, -2147483647 - 1};
    for (int code : unlisted) EXPECT_EQ(errorMessage(code), kGeneral) << code;
}
