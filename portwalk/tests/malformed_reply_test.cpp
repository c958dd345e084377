// Replies no sound driver gives: short, oversized, odd or inconsistent lengths. The walk must
// stay inside its buffers and treat each as the failure of that one read.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "controller_table.h"
#include "hub_driver_layout.h"
#include "hub_walk.h"
#include "simulated_hub_driver.h"

namespace portwalk {
namespace {

using namespace testing;
using namespace layout;

constexpr std::uint16_t kMaker = 0x0ABC;
constexpr std::uint16_t kEnglish = 0x0409;
const std::u16string kRootHub = u"ROOT";

SimulatedPort makerDevice(const std::u16string& serial) {
    SimulatedPort port;
    port.status = kConnected;
    port.vendorId = kMaker;
    port.productId = 0x12AB;
    port.serialIndex = 3;
    port.languages = {kEnglish};
    port.serialByLanguage = {{kEnglish, serial}};
    return port;
}

SimulatedPort hubDevice() {
    SimulatedPort port;
    port.status = kConnected;
    port.vendorId = 0x05E3;
    port.productId = 0x0608;
    port.downstreamHub = u"EXT";
    return port;
}

using Tamper = std::function<std::optional<Reply>(const SimulatedHubDriver&, const Request&)>;

bool isStringRequest(const Request& r, std::uint8_t index) {
    return r.request == UsbRequest::DescriptorFromNodeConnection &&
           readU16(r.input, kRequestWValue) == (kStringDescriptorType << 8 | index);
}

bool isConfigurationRequest(const Request& r, std::uint16_t length) {
    return r.request == UsbRequest::DescriptorFromNodeConnection &&
           readU16(r.input, kRequestWValue) >> 8 == kConfigurationDescriptorType &&
           readU16(r.input, kRequestWLength) == length;
}

// A descriptor reply: the request header, then the given descriptor bytes.
Reply descriptorReply(const Request& r, const Bytes& descriptor,
                      std::optional<std::size_t> returned = std::nullopt) {
    Bytes bytes(r.input.begin(), r.input.begin() + kRequestData);
    bytes.insert(bytes.end(), descriptor.begin(), descriptor.end());
    return Reply{true, bytes, returned};
}

// The serial string reply of the device, changed by edit.
Tamper serialReply(std::function<void(Reply&)> edit) {
    return [edit](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
        if (!isStringRequest(r, 3)) return std::nullopt;
        Reply reply = driver.regularReply(r);
        edit(reply);
        return reply;
    };
}

Tamper rootHubActualLength(std::uint32_t actualLength) {
    return [actualLength](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
        if (r.request != UsbRequest::RootHubName) return std::nullopt;
        Bytes probe(6, 0);
        writeU32(probe, 0, actualLength);
        return Reply{true, probe, std::nullopt};
    };
}

Tamper connectionNameActualLength(std::uint32_t actualLength) {
    return [actualLength](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
        if (r.request != UsbRequest::NodeConnectionName) return std::nullopt;
        Bytes probe(10, 0);
        writeU32(probe, 0, readU32(r.input, 0));
        writeU32(probe, 4, actualLength);
        return Reply{true, probe, std::nullopt};
    };
}

// The root hub name "ROOT" without its terminating zero, with extra bytes of ActualLength.
Tamper unterminatedRootHubName(std::uint32_t extraBytes) {
    return [extraBytes](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
        if (r.request != UsbRequest::RootHubName) return std::nullopt;
        Bytes name = {0, 0, 0, 0, 'R', 0, 'O', 0, 'O', 0, 'T', 0};
        writeU32(name, 0, static_cast<std::uint32_t>(name.size() + extraBytes));
        return Reply{true, name, std::nullopt};
    };
}

struct Case {
    const char* name;
    std::vector<SimulatedPort> rootPorts;
    Tamper tamper;
    std::vector<std::string> expected;
};

const char* const kWithSerial = "USB::0x0abc::0x12ab::A7";
const char* const kWithoutSerial = "USB::0x0abc::0x12ab::";

std::vector<Case> cases() {
    const std::vector<SimulatedPort> device = {makerDevice(u"A7")};
    const std::vector<SimulatedPort> hub = {hubDevice()};
    return {
        // Root hub name.
        {"root hub ActualLength huge", device, rootHubActualLength(0xFFFFFFFF), {}},
        {"root hub ActualLength of the header only", device, rootHubActualLength(4), {}},
        {"root hub ActualLength zero", device, rootHubActualLength(0), {}},
        {"root hub ActualLength odd, no whole unit", device, rootHubActualLength(5), {}},
        {"root hub name without terminator", device, unterminatedRootHubName(0), {kWithSerial}},
        {"root hub name with odd ActualLength", device, unterminatedRootHubName(1), {kWithSerial}},
        {"root hub name second call fails",
         device,
         [](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
             if (r.request != UsbRequest::RootHubName || r.outputSize == 6) return std::nullopt;
             return Reply{false, {}, std::nullopt};
         },
         {}},
        // Node information and connection information.
        {"hub claims more ports than it answers",
         device,
         [](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
             if (r.request != UsbRequest::NodeInformation) return std::nullopt;
             Reply reply = driver.regularReply(r);
             reply.bytes[kNodeInformationNumberOfPorts] = 255;
             return reply;
         },
         {kWithSerial}},
        {"connection information claims more bytes than its buffer",
         device,
         [](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
             if (r.request != UsbRequest::NodeConnectionInformation) return std::nullopt;
             Reply reply = driver.regularReply(r);
             reply.returned = 5000;
             return reply;
         },
         {}},
        // Downstream hub name: the hub port becomes an ordinary (foreign) entry.
        {"hub name ActualLength of the header only", hub, connectionNameActualLength(10), {"-"}},
        {"hub name ActualLength huge", hub, connectionNameActualLength(0xFFFFFFFF), {"-"}},
        {"hub name second call fails",
         hub,
         [](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
             if (r.request != UsbRequest::NodeConnectionName || r.outputSize == 10) {
                 return std::nullopt;
             }
             return Reply{false, {}, std::nullopt};
         },
         {"-"}},
        // Configuration descriptor.
        {"configuration header short",
         device,
         [](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
             if (!isConfigurationRequest(r, 9)) return std::nullopt;
             Reply reply = driver.regularReply(r);
             reply.bytes.pop_back();
             return reply;
         },
         {kWithoutSerial}},
        {"configuration wTotalLength below its header",
         device,
         [](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
             if (!isConfigurationRequest(r, 9)) return std::nullopt;
             return descriptorReply(r, {9, 2, 8, 0, 1, 1, 0, 0x80, 50});
         },
         {kWithoutSerial}},
        {"configuration wTotalLength changes between reads",
         device,
         [](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
             if (!isConfigurationRequest(r, 34)) return std::nullopt;
             Reply reply = driver.regularReply(r);
             writeU16(reply.bytes, kRequestData + 2, 33);
             return reply;
         },
         {kWithoutSerial}},
        {"configuration delivered shorter than wTotalLength",
         device,
         [](const SimulatedHubDriver& driver, const Request& r) -> std::optional<Reply> {
             if (!isConfigurationRequest(r, 34)) return std::nullopt;
             Reply reply = driver.regularReply(r);
             reply.bytes.resize(reply.bytes.size() - 1);
             return reply;
         },
         {kWithoutSerial}},
        // String descriptors.
        {"serial bLength odd",
         device,
         serialReply([](Reply& reply) {
             reply.bytes[kRequestData] = 5;
             reply.bytes.resize(kRequestData + 5);
         }),
         {kWithoutSerial}},
        {"serial bLength zero",
         device,
         serialReply([](Reply& reply) {
             reply.bytes[kRequestData] = 0;
             reply.returned = kRequestData;
         }),
         {kWithoutSerial}},
        {"serial only one byte returned",
         device,
         serialReply([](Reply& reply) { reply.bytes.resize(kRequestData + 1); }),
         {kWithoutSerial}},
        {"serial returned bytes differ from bLength",
         device,
         serialReply([](Reply& reply) { reply.bytes.pop_back(); }),
         {kWithoutSerial}},
        {"serial claims more bytes than its buffer",
         device,
         serialReply([](Reply& reply) { reply.returned = 1000; }),
         {kWithoutSerial}},
        {"serial of another descriptor type",
         device,
         serialReply([](Reply& reply) { reply.bytes[kRequestData + 1] = 1; }),
         {kWithoutSerial}},
        {"serial of the largest even bLength",
         device,
         serialReply([](Reply& reply) {
             reply.bytes.resize(kRequestData + 2);
             reply.bytes[kRequestData] = 254;
             for (int i = 0; i < 126; ++i) reply.bytes.insert(reply.bytes.end(), {'Z', 0});
         }),
         {"USB::0x0abc::0x12ab::ZZZZZZZZZZZZZZZZZZZ"}},
        {"serial with a zero unit inside",
         device,
         serialReply([](Reply& reply) { reply.bytes[kRequestData + 4] = 0; }),
         {"USB::0x0abc::0x12ab::A"}},
        {"serial of zero units",
         device,
         serialReply([](Reply& reply) {
             reply.bytes.resize(kRequestData + 2);
             reply.bytes[kRequestData] = 2;
         }),
         {kWithoutSerial}},
        {"language list of no entries",
         device,
         [](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
             if (!isStringRequest(r, 0)) return std::nullopt;
             return descriptorReply(r, {2, 3});
         },
         {kWithoutSerial}},
        {"language list bLength odd",
         device,
         [](const SimulatedHubDriver&, const Request& r) -> std::optional<Reply> {
             if (!isStringRequest(r, 0)) return std::nullopt;
             return descriptorReply(r, {5, 3, 0x09, 0x04, 0});
         },
         {kWithoutSerial}},
    };
}

TEST(PortwalkMalformedReply, EachIsTheFailureOfItsOwnRead) {
    for (const Case& c : cases()) {
        SimulatedHubDriver driver;
        driver.addController(0, kRootHub);
        driver.addHub(kRootHub, c.rootPorts);
        driver.addHub(u"EXT", {makerDevice(u"E1")});
        const Tamper tamper = c.tamper;
        driver.replace = [&driver, tamper](const Request& r) { return tamper(driver, r); };

        ControllerTable table(kMaker);
        ASSERT_EQ(table.replace(scanHubDriver(driver)), 1) << c.name;
        std::vector<std::string> texts;
        for (std::int32_t port = 0; port < table.portCount(0); ++port) {
            char resource[kResourceSize + 1];
            std::memset(resource, 'x', sizeof resource);
            table.writeResource(0, static_cast<std::uint32_t>(port), resource);
            EXPECT_EQ(resource[kResourceSize], 'x') << c.name;
            texts.emplace_back(resource);
        }
        EXPECT_EQ(texts, c.expected) << c.name;
        EXPECT_EQ(driver.openHandles(), 0u) << c.name;
    }
}

}  // namespace
}  // namespace portwalk
