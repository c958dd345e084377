// A simulated USB host-controller and hub driver behind the device-I/O seam. It answers every
// request with the bytes the Windows hub driver returns, records the requests it received and
// the handles left open, and lets a test replace any reply by a malformed one.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device_io.h"
#include "little_endian.h"

namespace portwalk::testing {

// USB_CONNECTION_STATUS values used by the tests.
enum ConnectionStatus : std::uint32_t {
    kNoDevice = 0,
    kConnected = 1,
    kFailedEnumeration = 2,
    kGeneralFailure = 3,
};

struct SimulatedPort {
    std::uint32_t status = kNoDevice;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t serialIndex = 0;            // iSerialNumber of the device descriptor
    std::u16string downstreamHub;            // set for a hub: the name its connection name answers
    std::uint16_t configurationLength = 34;  // wTotalLength of configuration 0
    std::vector<std::uint16_t> languages;    // string descriptor 0; empty: the device stalls it
    std::map<std::uint16_t, std::u16string> serialByLanguage;
    std::uint32_t openPipes = 2;
};

struct SimulatedHub {
    std::vector<SimulatedPort> ports;  // port p is ports[p - 1]
    bool failNodeInformation = false;
};

// One control request as the driver received it.
struct Request {
    std::string device;  // path the handle was opened with
    UsbRequest request;
    Bytes input;
    std::size_t outputSize;
};

struct Reply {
    bool ok = true;
    Bytes bytes;                          // copied into the output buffer as far as it fits
    std::optional<std::size_t> returned;  // byte count claimed; default: the bytes copied
};

class SimulatedHubDriver : public DeviceIo {
  public:
    // A controller "\\.\HCD<number>"; an empty root hub name makes the name request fail.
    void addController(int number, const std::u16string& rootHubName);
    SimulatedHub& addHub(const std::u16string& name, std::vector<SimulatedPort> ports);

    // Consulted before the regular answer; a reply it returns is used instead.
    std::function<std::optional<Reply>(const Request&)> replace;

    // The reply the Windows hub driver gives to a request.
    Reply regularReply(const Request& request) const;

    const std::vector<Request>& requests() const { return requests_; }
    std::vector<Request> requestsOf(UsbRequest kind) const;
    const std::vector<std::string>& openedPaths() const { return openedPaths_; }
    std::size_t openHandles() const { return open_.size(); }
    int badCloses() const { return badCloses_; }

    bool open(const std::string& path, DeviceHandle& handle) override;
    bool control(DeviceHandle handle, UsbRequest request, const void* input, std::size_t inputSize,
                 void* output, std::size_t outputSize, std::size_t& returned) override;
    void close(DeviceHandle handle) override;
    // Latin-1: units above 0xFF become '?', as the ANSI code page's default character.
    bool ansiFromUtf16(const std::u16string& text, std::string& ansi) override;

  private:
    struct OpenDevice {
        std::string path;
    };

    const SimulatedHub* hubAt(const std::string& path) const;
    const SimulatedPort* portAt(const std::string& path, std::uint32_t port) const;

    std::map<int, std::u16string> controllers_;
    std::map<std::string, SimulatedHub> hubs_;  // by device path
    std::map<DeviceHandle, std::unique_ptr<OpenDevice>> open_;
    std::vector<Request> requests_;
    std::vector<std::string> openedPaths_;
    int badCloses_ = 0;
};

// Text helpers for building expectations.
std::string latin1(const std::u16string& text);

}  // namespace portwalk::testing
