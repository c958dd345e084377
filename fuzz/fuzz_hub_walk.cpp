// Fuzz target: the whole walk of the Windows USB host controllers and hubs through the
// device-I/O seam, against the simulated hub driver. The input first lays out what the driver
// knows: which controllers exist, their root hubs, every hub's ports with the device on each
// (connection status, ids, descriptors, string descriptors in each language) and which hub
// hangs on which port, nested as deep as the input says. Then, for every request the walk
// sends, the input decides the reply: the regular one, a failure, the regular one with changed
// bytes or another returned length, or bytes taken straight from the input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controller_table.h"
#include "fuzz_input.h"
#include "hub_driver_layout.h"
#include "hub_walk.h"
#include "portwalk_resources.h"
#include "simulated_hub_driver.h"

namespace {

using fuzzing::FuzzInput;
using fuzzing::require;
using portwalk::testing::Reply;
using portwalk::testing::Request;
using portwalk::testing::SimulatedHubDriver;
using portwalk::testing::SimulatedPort;

// More hubs than the walk follows in depth, so that the input can chain them past the limit.
constexpr std::uint8_t kHubNames = 12;
constexpr std::uint8_t kMaxPortsPerHub = 16;
constexpr std::uint8_t kMaxLanguages = 4;
// A string descriptor holds at most 126 UTF-16 units.
constexpr std::uint8_t kMaxTextUnits = 127;

std::u16string hubName(std::uint8_t index) {
    std::u16string name = u"HUB";
    for (char digit : std::to_string(index % kHubNames)) name.push_back(char16_t(digit));
    return name;
}

std::u16string readText(FuzzInput& input) {
    std::u16string text(input.byte() % kMaxTextUnits, u'\0');
    for (char16_t& unit : text) unit = input.u16();
    return text;
}

// Flags of a port: which of its optional parts the input gives.
enum PortFlags : std::uint8_t {
    kMakerDevice = 1,
    kCarriesHub = 2,
    kOwnConfigurationLength = 4,
};

SimulatedPort readPort(FuzzInput& input) {
    SimulatedPort port;
    port.status = input.byte();
    const std::uint8_t flags = input.byte();
    port.vendorId = (flags & kMakerDevice) != 0 ? portwalk::MakerVendorId : input.u16();
    port.productId = input.u16();
    port.serialIndex = input.byte();
    if ((flags & kCarriesHub) != 0) port.downstreamHub = hubName(input.byte());
    if ((flags & kOwnConfigurationLength) != 0) port.configurationLength = input.u16();
    port.openPipes = input.byte() % (portwalk::layout::kPipeRoom + 1);
    const std::uint8_t languages = input.byte() % (kMaxLanguages + 1);
    for (std::uint8_t i = 0; i < languages; ++i) {
        const std::uint16_t language = input.u16();
        port.languages.push_back(language);
        port.serialByLanguage[language] = readText(input);
    }
    return port;
}

void readLayout(FuzzInput& input, SimulatedHubDriver& driver) {
    const std::uint16_t controllers = input.u16();
    for (int number = 0; number < portwalk::kControllerNumbers; ++number) {
        if ((controllers >> number & 1) == 0) continue;
        // One value past the hub names stands for a root hub whose name cannot be read.
        const std::uint8_t rootHub = input.byte() % (kHubNames + 1);
        driver.addController(number, rootHub == kHubNames ? u"" : hubName(rootHub));
    }
    const std::uint8_t hubs = input.byte() % (kHubNames + 1);
    for (std::uint8_t hub = 0; hub < hubs; ++hub) {
        const std::uint8_t header = input.byte();
        std::vector<SimulatedPort> ports(header % kMaxPortsPerHub);
        for (SimulatedPort& port : ports) port = readPort(input);
        driver.addHub(hubName(hub), std::move(ports)).failNodeInformation = (header & 0x80) != 0;
    }
}

enum Verdict : std::uint8_t {
    kRegular,
    kFailure,
    kOtherReturnedLength,
    kChangedBytes,
    kInputBytes,
    kInputBytesAndLength,
    kVerdicts,
};

std::optional<Reply> replyFromInput(FuzzInput& input, const SimulatedHubDriver& driver,
                                    const Request& request) {
    const std::uint8_t verdict = input.byte() % kVerdicts;
    switch (verdict) {
        case kFailure:
            return Reply{false, {}, std::nullopt};
        case kOtherReturnedLength: {
            Reply reply = driver.regularReply(request);
            reply.returned = input.u16();
            return reply;
        }
        case kChangedBytes: {
            Reply reply = driver.regularReply(request);
            const std::uint8_t changes = input.byte() % 8;
            for (std::uint8_t i = 0; i < changes; ++i) {
                const std::uint16_t offset = input.u16();
                const std::uint8_t value = input.byte();
                if (!reply.bytes.empty()) reply.bytes[offset % reply.bytes.size()] = value;
            }
            return reply;
        }
        case kInputBytes:
        case kInputBytesAndLength: {
            // Up to a little more than the output buffer holds: the driver copies what fits.
            Reply reply{true, input.bytes(input.u16() % (request.outputSize + 16)), std::nullopt};
            if (verdict == kInputBytesAndLength) reply.returned = input.u16();
            return reply;
        }
        default:
            return std::nullopt;  // the regular reply
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    SimulatedHubDriver driver;
    readLayout(input, driver);
    driver.replace = [&input, &driver](const Request& request) {
        return replyFromInput(input, driver, request);
    };

    const portwalk::ControllerList controllers = portwalk::scanHubDriver(driver);

    require(driver.openHandles() == 0, "no device handle stays open after a scan");
    require(driver.badCloses() == 0, "only open handles are closed");
    fuzzing::requireResourcesFit(controllers);
    return 0;
}
