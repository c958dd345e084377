// Fuzz target: the walk of the Linux USB device tree in sysfs, over a tree held in memory whose
// devices and attribute texts (vendor and product id, serial number, port count, device class)
// come from the input, nested as deep as the input says. Linux only: the other builds have no
// sysfs walk.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "portwalk_resources.h"
#include "sysfs_walk.h"

namespace {

using fuzzing::FuzzInput;

// The attributes the walk reads, in the order the input gives them.
const char* const kAttributes[] = {"idVendor", "idProduct", "serial", "maxchild", "bDeviceClass"};

// Deeper than the walk follows, so that the input can nest hubs past the limit.
constexpr int kMaxDepth = 12;
constexpr std::uint8_t kMaxChildren = 8;

class InputTree : public portwalk::SysfsSource {
  public:
    explicit InputTree(FuzzInput& input) {
        const std::uint16_t buses = input.u16();
        for (int bus = 1; bus <= portwalk::kSysfsBusNumbers; ++bus) {
            if ((buses >> (bus - 1) & 1) == 0) continue;
            readDevice(input, "usb" + std::to_string(bus), std::to_string(bus) + "-", 0);
        }
    }

    bool hasDevice(const std::string& device) override { return devices_.count(device) != 0; }
    std::optional<std::string> attribute(const std::string& device,
                                         const std::string& name) override {
        const auto found = devices_.find(device);
        if (found == devices_.end()) return std::nullopt;
        const auto text = found->second.find(name);
        if (text == found->second.end()) return std::nullopt;
        return text->second;
    }
    std::string devicePath(const std::string& device) override {
        return "/sys/bus/usb/devices/" + device;
    }

  private:
    // A device: each attribute absent (0) or its length plus one and its bytes, then the number
    // of its children (none below the deepest level), each with the port it sits on.
    void readDevice(FuzzInput& input, const std::string& name, const std::string& childPrefix,
                    int depth) {
        std::map<std::string, std::string>& attributes = devices_[name];
        for (const char* attribute : kAttributes) {
            const std::uint8_t header = input.byte();
            if (header == 0) continue;
            const auto bytes = input.bytes(header - 1u);
            attributes[attribute] = std::string(bytes.begin(), bytes.end());
        }
        const std::uint8_t children = depth < kMaxDepth ? input.byte() % (kMaxChildren + 1) : 0;
        for (std::uint8_t i = 0; i < children; ++i) {
            const std::string child = childPrefix + std::to_string(input.byte());
            readDevice(input, child, child + ".", depth + 1);
        }
    }

    std::map<std::string, std::map<std::string, std::string>> devices_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    InputTree tree(input);
    fuzzing::requireResourcesFit(portwalk::walkSysfs(tree));
    return 0;
}
