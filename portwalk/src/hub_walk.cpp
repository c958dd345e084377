#include "hub_walk.h"

#include <set>
#include <string>

#include "hub_driver_layout.h"
#include "little_endian.h"

namespace portwalk {
namespace {

using namespace layout;

bool sendRequest(DeviceIo& io, DeviceHandle handle, UsbRequest request, Bytes& buffer,
                 std::size_t& returned) {
    returned = 0;
    if (!io.control(handle, request, buffer.data(), buffer.size(), buffer.data(), buffer.size(),
                    returned)) {
        return false;
    }
    return returned <= buffer.size();
}

// Converts a name for opening; an empty name or a failed conversion is no name.
bool convertName(DeviceIo& io, const std::u16string& name, std::string& ansi) {
    ansi.clear();
    return !name.empty() && io.ansiFromUtf16(name, ansi) && !ansi.empty();
}

bool readRootHubName(DeviceIo& io, DeviceHandle controller, std::string& name) {
    Bytes probe(kRootHubNameSize, 0);
    std::size_t returned = 0;
    if (!io.control(controller, UsbRequest::RootHubName, nullptr, 0, probe.data(), probe.size(),
                    returned)) {
        return false;
    }
    const std::uint32_t actualLength = readU32(probe, kRootHubNameActualLength);
    if (actualLength <= kRootHubNameText || actualLength > kMaxNameBytes) return false;

    Bytes reply(actualLength, 0);
    if (!io.control(controller, UsbRequest::RootHubName, nullptr, 0, reply.data(), reply.size(),
                    returned)) {
        return false;
    }
    return convertName(io, readUtf16(reply, kRootHubNameText, reply.size() / 2), name);
}

bool readDownstreamHubName(DeviceIo& io, DeviceHandle hub, std::uint32_t port, std::string& name) {
    Bytes probe(kConnectionNameSize, 0);
    writeU32(probe, kConnectionNameIndex, port);
    std::size_t returned = 0;
    if (!sendRequest(io, hub, UsbRequest::NodeConnectionName, probe, returned)) return false;
    const std::uint32_t actualLength = readU32(probe, kConnectionNameActualLength);
    if (actualLength <= kConnectionNameSize || actualLength > kMaxNameBytes) return false;

    Bytes reply(actualLength, 0);
    writeU32(reply, kConnectionNameIndex, port);
    if (!sendRequest(io, hub, UsbRequest::NodeConnectionName, reply, returned)) return false;
    return convertName(io, readUtf16(reply, kConnectionNameText, reply.size() / 2), name);
}

Bytes descriptorRequest(std::uint32_t port, std::uint16_t value, std::uint16_t index,
                        std::uint16_t length) {
    Bytes request(kRequestData + length, 0);
    writeU32(request, kRequestConnectionIndex, port);
    writeU16(request, kRequestWValue, value);
    writeU16(request, kRequestWIndex, index);
    writeU16(request, kRequestWLength, length);
    return request;
}

// Reads configuration descriptor 0, first its header and then all wTotalLength bytes; the
// content is not used, a device that cannot deliver it gets no serial number.
bool readConfigurationDescriptor(DeviceIo& io, DeviceHandle hub, std::uint32_t port) {
    const std::uint16_t value = kConfigurationDescriptorType << 8;
    Bytes header = descriptorRequest(port, value, 0, kConfigurationHeaderSize);
    std::size_t returned = 0;
    if (!sendRequest(io, hub, UsbRequest::DescriptorFromNodeConnection, header, returned) ||
        returned != header.size()) {
        return false;
    }
    const std::uint16_t totalLength = readU16(header, kRequestData + kConfigurationWTotalLength);
    if (totalLength < kConfigurationHeaderSize) return false;

    Bytes whole = descriptorRequest(port, value, 0, totalLength);
    if (!sendRequest(io, hub, UsbRequest::DescriptorFromNodeConnection, whole, returned) ||
        returned != whole.size()) {
        return false;
    }
    return readU16(whole, kRequestData + kConfigurationWTotalLength) == totalLength;
}

// A string descriptor's UTF-16 units; false unless the reply is a whole, even-length string
// descriptor of exactly the size the driver returned.
bool readStringDescriptor(DeviceIo& io, DeviceHandle hub, std::uint32_t port, std::uint8_t index,
                          std::uint16_t language, Bytes& units) {
    Bytes buffer =
        descriptorRequest(port, static_cast<std::uint16_t>(kStringDescriptorType << 8 | index),
                          language, kStringDataRoom);
    std::size_t returned = 0;
    if (!sendRequest(io, hub, UsbRequest::DescriptorFromNodeConnection, buffer, returned)) {
        return false;
    }
    const std::uint8_t length = readU8(buffer, kRequestData);
    if (returned < kRequestData + kStringHeaderSize ||
        readU8(buffer, kRequestData + 1) != kStringDescriptorType ||
        returned != std::size_t{length} + kRequestData || length < kStringHeaderSize ||
        length % 2 != 0) {
        return false;
    }
    const auto first = buffer.begin() + kRequestData + kStringHeaderSize;
    units.assign(first, first + (length - kStringHeaderSize));
    return true;
}

std::string readSerialNumber(DeviceIo& io, DeviceHandle hub, std::uint32_t port,
                             std::uint8_t serialIndex) {
    if (!readConfigurationDescriptor(io, hub, port) || serialIndex == 0) return {};

    Bytes languages;
    if (!readStringDescriptor(io, hub, port, 0, 0, languages)) return {};
    Bytes lastGood;
    bool found = false;
    for (std::size_t at = 0; at + 1 < languages.size(); at += 2) {
        Bytes units;
        if (readStringDescriptor(io, hub, port, serialIndex, readU16(languages, at), units)) {
            lastGood = units;
            found = true;
        }
    }
    if (!found) return {};

    const std::u16string text = readUtf16(lastGood, 0, lastGood.size() / 2);
    std::string ansi;
    if (text.empty() || !io.ansiFromUtf16(text, ansi)) return {};
    return limitSerialNumber(ansi);
}

// One scan: the hubs it has walked so far, under every controller. A hub has one name and sits
// on one port, so a name answered a second time is a broken or looping reply; walking it again
// would repeat its ports, and a reply that names the same hubs on many ports would make the
// walk grow with the number of ports to the power of the nesting depth.
struct Scan {
    DeviceIo& io;
    std::set<std::string> walkedHubs;
};

void walkHub(Scan& scan, const std::string& hubName, ControllerEntry& controller, int nesting);

void walkPort(Scan& scan, DeviceHandle hub, std::uint32_t port, ControllerEntry& controller,
              int nesting) {
    DeviceIo& io = scan.io;
    Bytes info(kConnectionBufferSize, 0);
    writeU32(info, kConnectionIndex, port);
    std::size_t returned = 0;
    if (!sendRequest(io, hub, UsbRequest::NodeConnectionInformation, info, returned)) return;

    PortEntry entry;
    const std::uint32_t status = readU32(info, kConnectionStatus);
    if (status != kNoDeviceConnected) {
        entry.vendorId = readU16(info, kConnectionDeviceDescriptor + kDeviceIdVendor);
        entry.productId = readU16(info, kConnectionDeviceDescriptor + kDeviceIdProduct);
    }
    if (status == kDeviceConnected) {
        entry.serialNumber = readSerialNumber(
            io, hub, port, readU8(info, kConnectionDeviceDescriptor + kDeviceISerialNumber));
    }

    std::string downstreamHub;
    if (readU8(info, kConnectionDeviceIsHub) != 0 && nesting < kMaxHubNesting &&
        readDownstreamHubName(io, hub, port, downstreamHub) &&
        scan.walkedHubs.count(downstreamHub) == 0) {
        walkHub(scan, downstreamHub, controller, nesting + 1);
        return;
    }
    controller.ports.push_back(std::move(entry));
}

void walkHub(Scan& scan, const std::string& hubName, ControllerEntry& controller, int nesting) {
    DeviceIo& io = scan.io;
    DeviceHandle hub = nullptr;
    if (!io.open("\\\\.\\" + hubName, hub)) return;
    scan.walkedHubs.insert(hubName);

    Bytes node(kNodeInformationSize, 0);
    std::size_t returned = 0;
    if (sendRequest(io, hub, UsbRequest::NodeInformation, node, returned)) {
        const std::uint8_t portCount = readU8(node, kNodeInformationNumberOfPorts);
        for (std::uint32_t port = 1; port <= portCount; ++port) {
            walkPort(scan, hub, port, controller, nesting);
        }
    }
    io.close(hub);
}

}  // namespace

ControllerList scanHubDriver(DeviceIo& io) {
    Scan scan{io, {}};
    ControllerList controllers;
    for (int number = 0; number < kControllerNumbers; ++number) {
        ControllerEntry controller;
        controller.path = "\\\\.\\HCD" + std::to_string(number);
        DeviceHandle handle = nullptr;
        if (!io.open(controller.path, handle)) continue;

        std::string rootHub;
        if (readRootHubName(io, handle, rootHub) && scan.walkedHubs.count(rootHub) == 0) {
            walkHub(scan, rootHub, controller, 0);
        }
        controllers.push_back(std::move(controller));
        io.close(handle);
    }
    return controllers;
}

}  // namespace portwalk
