#include "simulated_hub_driver.h"

#include <algorithm>
#include <cstring>

#include "hub_driver_layout.h"

namespace portwalk::testing {
namespace {

using namespace layout;

const std::string kDevicePrefix = "\\\\.\\";

Reply failure() {
    return Reply{false, {}, std::nullopt};
}

void appendUtf16(Bytes& bytes, const std::u16string& text) {
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

// A name reply: header, the UTF-16 name and its terminating zero; ActualLength is the size of
// the whole, and a smaller output buffer receives only its beginning.
Reply nameReply(Bytes header, std::size_t actualLengthOffset, const std::u16string& name) {
    appendUtf16(header, name);
    appendUtf16(header, std::u16string(1, u'\0'));
    writeU32(header, actualLengthOffset, static_cast<std::uint32_t>(header.size()));
    return Reply{true, header, std::nullopt};
}

Bytes deviceDescriptor(const SimulatedPort& port) {
    Bytes descriptor(kDeviceDescriptorSize, 0);
    if (port.status == kNoDevice) return descriptor;  // the driver leaves it zeroed
    descriptor[0] = kDeviceDescriptorSize;
    descriptor[1] = 1;
    writeU16(descriptor, 2, 0x0200);
    descriptor[4] = port.downstreamHub.empty() ? 0x00 : 0x09;
    descriptor[7] = 64;
    writeU16(descriptor, kDeviceIdVendor, port.vendorId);
    writeU16(descriptor, kDeviceIdProduct, port.productId);
    writeU16(descriptor, 12, 0x0100);
    descriptor[kDeviceISerialNumber] = port.serialIndex;
    descriptor[17] = 1;
    return descriptor;
}

Bytes configurationDescriptor(std::uint16_t totalLength) {
    Bytes descriptor(totalLength, 0);
    const Bytes header = {9, kConfigurationDescriptorType, 0, 0, 1, 1, 0, 0x80, 50};
    std::copy_n(header.begin(), std::min(header.size(), descriptor.size()), descriptor.begin());
    writeU16(descriptor, kConfigurationWTotalLength, totalLength);
    return descriptor;
}

Bytes stringDescriptor(const std::u16string& text) {
    Bytes descriptor = {static_cast<std::uint8_t>(2 + 2 * text.size()), kStringDescriptorType};
    appendUtf16(descriptor, text);
    return descriptor;
}

Bytes languageDescriptor(const std::vector<std::uint16_t>& languages) {
    Bytes descriptor = {static_cast<std::uint8_t>(2 + 2 * languages.size()), kStringDescriptorType};
    for (std::uint16_t language : languages) {
        descriptor.push_back(static_cast<std::uint8_t>(language));
        descriptor.push_back(static_cast<std::uint8_t>(language >> 8));
    }
    return descriptor;
}

}  // namespace

std::string latin1(const std::u16string& text) {
    std::string ansi;
    for (char16_t unit : text) ansi.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
    return ansi;
}

void SimulatedHubDriver::addController(int number, const std::u16string& rootHubName) {
    controllers_[number] = rootHubName;
}

SimulatedHub& SimulatedHubDriver::addHub(const std::u16string& name,
                                         std::vector<SimulatedPort> ports) {
    SimulatedHub& hub = hubs_[kDevicePrefix + latin1(name)];
    hub.ports = std::move(ports);
    return hub;
}

std::vector<Request> SimulatedHubDriver::requestsOf(UsbRequest kind) const {
    std::vector<Request> matching;
    for (const Request& request : requests_) {
        if (request.request == kind) matching.push_back(request);
    }
    return matching;
}

const SimulatedHub* SimulatedHubDriver::hubAt(const std::string& path) const {
    const auto found = hubs_.find(path);
    return found == hubs_.end() ? nullptr : &found->second;
}

const SimulatedPort* SimulatedHubDriver::portAt(const std::string& path, std::uint32_t port) const {
    const SimulatedHub* hub = hubAt(path);
    if (hub == nullptr || port < 1 || port > hub->ports.size()) return nullptr;
    return &hub->ports[port - 1];
}

Reply SimulatedHubDriver::regularReply(const Request& request) const {
    const SimulatedHub* hub = hubAt(request.device);
    switch (request.request) {
        case UsbRequest::RootHubName: {
            for (const auto& [number, name] : controllers_) {
                if (request.device != kDevicePrefix + "HCD" + std::to_string(number)) continue;
                if (name.empty() || request.outputSize < kRootHubNameSize) return failure();
                return nameReply(Bytes(kRootHubNameText, 0), kRootHubNameActualLength, name);
            }
            return failure();
        }
        case UsbRequest::NodeInformation: {
            if (hub == nullptr || hub->failNodeInformation ||
                request.outputSize < kNodeInformationSize) {
                return failure();
            }
            Bytes node(kNodeInformationSize, 0);
            node[kNodeInformationHubDescriptor] = 9;
            node[kNodeInformationHubDescriptor + 1] = 0x29;
            node[kNodeInformationNumberOfPorts] = static_cast<std::uint8_t>(hub->ports.size());
            return Reply{true, node, std::nullopt};
        }
        case UsbRequest::NodeConnectionInformation: {
            const std::uint32_t index = readU32(request.input, kConnectionIndex);
            const SimulatedPort* port = portAt(request.device, index);
            if (port == nullptr || request.outputSize < kConnectionInformationSize) {
                return failure();
            }
            Bytes info(kConnectionInformationSize, 0);
            writeU32(info, kConnectionIndex, index);
            const Bytes descriptor = deviceDescriptor(*port);
            std::copy(descriptor.begin(), descriptor.end(),
                      info.begin() + kConnectionDeviceDescriptor);
            info[kConnectionDeviceIsHub] = port->downstreamHub.empty() ? 0 : 1;
            const std::uint32_t pipes = port->status == kConnected ? port->openPipes : 0;
            writeU32(info, kConnectionNumberOfOpenPipes, pipes);
            writeU32(info, kConnectionStatus, port->status);
            for (std::uint32_t pipe = 0; pipe < pipes; ++pipe) {
                const Bytes endpoint = {
                    7, 5, static_cast<std::uint8_t>(0x81 + pipe), 2, 0, 2, 0, 0, 0, 0, 0};
                info.insert(info.end(), endpoint.begin(), endpoint.end());
            }
            return Reply{true, info, std::nullopt};
        }
        case UsbRequest::DescriptorFromNodeConnection: {
            const SimulatedPort* port =
                portAt(request.device, readU32(request.input, kRequestConnectionIndex));
            if (port == nullptr || port->status != kConnected ||
                request.input.size() < kRequestData || request.outputSize < kRequestData) {
                return failure();
            }
            const std::uint16_t value = readU16(request.input, kRequestWValue);
            const std::uint16_t language = readU16(request.input, kRequestWIndex);
            const std::uint8_t type = static_cast<std::uint8_t>(value >> 8);
            const std::uint8_t index = static_cast<std::uint8_t>(value);
            Bytes descriptor;
            if (type == kConfigurationDescriptorType && index == 0) {
                descriptor = configurationDescriptor(port->configurationLength);
            } else if (type == kStringDescriptorType && index == 0 && !port->languages.empty()) {
                descriptor = languageDescriptor(port->languages);
            } else if (type == kStringDescriptorType && index != 0 && index == port->serialIndex) {
                const auto text = port->serialByLanguage.find(language);
                if (text == port->serialByLanguage.end()) return failure();
                descriptor = stringDescriptor(text->second);
            } else {
                return failure();  // the device stalls the request
            }
            // The request comes back in front of the data, cut to wLength.
            Bytes reply(request.input.begin(), request.input.begin() + kRequestData);
            const std::size_t length =
                std::min<std::size_t>(descriptor.size(), readU16(request.input, kRequestWLength));
            reply.insert(reply.end(), descriptor.begin(), descriptor.begin() + length);
            return Reply{true, reply, std::nullopt};
        }
        case UsbRequest::NodeConnectionName: {
            const std::uint32_t index = readU32(request.input, kConnectionNameIndex);
            const SimulatedPort* port = portAt(request.device, index);
            if (port == nullptr || request.outputSize < kConnectionNameSize) return failure();
            Bytes header(kConnectionNameText, 0);
            writeU32(header, kConnectionNameIndex, index);
            return nameReply(header, kConnectionNameActualLength, port->downstreamHub);
        }
    }
    return failure();
}

bool SimulatedHubDriver::open(const std::string& path, DeviceHandle& handle) {
    openedPaths_.push_back(path);
    bool exists = hubAt(path) != nullptr;
    for (const auto& controller : controllers_) {
        exists = exists || path == kDevicePrefix + "HCD" + std::to_string(controller.first);
    }
    if (!exists) return false;
    auto device = std::make_unique<OpenDevice>(OpenDevice{path});
    handle = device.get();
    open_[handle] = std::move(device);
    return true;
}

bool SimulatedHubDriver::control(DeviceHandle handle, UsbRequest request, const void* input,
                                 std::size_t inputSize, void* output, std::size_t outputSize,
                                 std::size_t& returned) {
    returned = 0;
    const auto device = open_.find(handle);
    if (device == open_.end()) return false;
    const auto* inputBytes = static_cast<const std::uint8_t*>(input);
    Request received{device->second->path, request,
                     inputBytes ? Bytes(inputBytes, inputBytes + inputSize) : Bytes{}, outputSize};
    requests_.push_back(received);

    std::optional<Reply> reply = replace ? replace(received) : std::nullopt;
    if (!reply) reply = regularReply(received);
    if (!reply->ok) return false;
    const std::size_t copied = std::min(reply->bytes.size(), outputSize);
    if (copied > 0) std::memcpy(output, reply->bytes.data(), copied);
    returned = reply->returned.value_or(copied);
    return true;
}

void SimulatedHubDriver::close(DeviceHandle handle) {
    if (open_.erase(handle) == 0) ++badCloses_;
}

bool SimulatedHubDriver::ansiFromUtf16(const std::u16string& text, std::string& ansi) {
    if (text.empty()) return false;
    ansi = latin1(text);
    return true;
}

}  // namespace portwalk::testing
