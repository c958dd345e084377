// The thin device-I/O seam the hub walk is written against: open a device path, send one
// control request with an input and an output buffer, close, and turn a UTF-16 name into the
// ANSI code page. The Windows side talks to the host-controller and hub drivers; tests use a
// simulated hub driver.
#pragma once

#include <cstddef>
#include <string>

namespace portwalk {

// The hub driver's control requests. The Windows side maps each to its IOCTL code; the root hub
// name and the node information share one code there and differ only by the handle.
enum class UsbRequest {
    RootHubName,
    NodeInformation,
    NodeConnectionInformation,
    DescriptorFromNodeConnection,
    NodeConnectionName,
};

using DeviceHandle = void*;

class DeviceIo {
  public:
    virtual ~DeviceIo() = default;

    // Opens a device for writing with write sharing; false when it cannot be opened.
    virtual bool open(const std::string& path, DeviceHandle& handle) = 0;
    // Sends one request. On success returned holds the byte count the driver wrote into output,
    // never more than outputSize.
    virtual bool control(DeviceHandle handle, UsbRequest request, const void* input,
                         std::size_t inputSize, void* output, std::size_t outputSize,
                         std::size_t& returned) = 0;
    virtual void close(DeviceHandle handle) = 0;
    // Converts a non-empty UTF-16 text to the ANSI code page; false when it cannot.
    virtual bool ansiFromUtf16(const std::u16string& text, std::string& ansi) = 0;
};

}  // namespace portwalk
