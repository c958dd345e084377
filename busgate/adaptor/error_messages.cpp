#include "error_messages.h"

namespace busgate {
namespace {
struct ErrorMessage {
    int code;
    const char* text;
};

constexpr ErrorMessage kErrorMessages[] = {
    {0, "NI: The specified board is not installed or configured properly."},
    {-1, "NI: The GPIB board must be Controller-in-Charge."},
    {-2,
     "NI: Timeout occurred during FOPEN. Make sure the instrument is powered on,\n"
     "connected to the bus and at the primary address specified."},
    {-3, "NI: GPIB board is not Controller-In-Charge and is not properly addressing itself."},
    {-4, "NI: Invalid argument passed to function call."},
    {-5, "NI: GPIB board does not have System Controller capability."},
    {-6, "NI: An I/O operation has been canceled mostly likely due to a timeout."},
    {-7, "NI: No GPIB board exists at the I/O address specified."},
    {-8, "NI: A system DMA error occurred."},
    {-10,
     "NI: An asynchronous operation has not completed. Use STOPASYNC to stop asynchronous "
     "operations."},
    {-11, "NI: GPIB board is not configured to handle this operation."},
    {-12, "NI: An error occurred during a file operation."},
    {-14, "NI: A GPIB bus error occurred most likely a timeout."},
    {-15,
     "NI: One or more serial poll status bytes have been discarded due to a lack of storage "
     "space."},
    {-100, "NI: The maximum Timeout is 1000 seconds."},
    {-200, "NI: A device was not found at the specified primary address."},
};

constexpr const char* kGeneralError = "NI: A GPIB error occurred.";
}  // namespace

const char* errorMessage(int code) {
    for (const ErrorMessage& message : kErrorMessages) {
        if (message.code == code) return message.text;
    }
    return kGeneralError;
}

}  // namespace busgate
