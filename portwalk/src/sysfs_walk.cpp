#include "sysfs_walk.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "hub_walk.h"

namespace portwalk {
namespace {

namespace fs = std::filesystem;

// No hub has more ports than its descriptor's one-byte port count can name.
constexpr unsigned long kMaxPorts = 255;

// The device entries as folders below root, their attributes as the files in them.
class SysfsFolder : public SysfsSource {
  public:
    explicit SysfsFolder(const std::string& root) : root_(root) {}

    bool hasDevice(const std::string& device) override {
        std::error_code error;
        return fs::is_directory(root_ / device, error);
    }
    std::optional<std::string> attribute(const std::string& device,
                                         const std::string& name) override {
        std::ifstream file(root_ / device / name, std::ios::binary);
        if (!file) return std::nullopt;
        return std::string((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    }
    std::string devicePath(const std::string& device) override { return (root_ / device).string(); }

  private:
    fs::path root_;
};

// An attribute's text without its trailing newline; nothing when it cannot be read.
std::optional<std::string> readAttribute(SysfsSource& source, const std::string& device,
                                         const char* name) {
    std::optional<std::string> text = source.attribute(device, name);
    if (text && !text->empty() && text->back() == '\n') text->pop_back();
    return text;
}

// Parses the whole attribute text as a number of the given base; nothing when it is not one.
std::optional<unsigned long> parseNumber(const std::optional<std::string>& text, int base,
                                         unsigned long maximum) {
    if (!text || text->empty() || text->size() > 8) return std::nullopt;
    unsigned long value = 0;
    for (char c : *text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + static_cast<unsigned long>(digit);
    }
    if (value > maximum) return std::nullopt;
    return value;
}

std::uint16_t readId(SysfsSource& source, const std::string& device, const char* name) {
    return static_cast<std::uint16_t>(
        parseNumber(readAttribute(source, device, name), 16, 0xFFFF).value_or(0));
}

unsigned long readMaxChild(SysfsSource& source, const std::string& device) {
    return parseNumber(readAttribute(source, device, "maxchild"), 10, kMaxPorts).value_or(0);
}

bool isHub(SysfsSource& source, const std::string& device) {
    return readAttribute(source, device, "bDeviceClass") == std::string("09") &&
           readMaxChild(source, device) > 0;
}

void walkHub(SysfsSource& source, const std::string& hub, const std::string& childPrefix,
             ControllerEntry& controller, int nesting) {
    const unsigned long portCount = readMaxChild(source, hub);
    for (unsigned long port = 1; port <= portCount; ++port) {
        const std::string child = childPrefix + std::to_string(port);
        if (!source.hasDevice(child)) {
            controller.ports.push_back(PortEntry{});
            continue;
        }
        if (isHub(source, child) && nesting < kMaxHubNesting) {
            walkHub(source, child, child + ".", controller, nesting + 1);
            continue;
        }
        PortEntry entry;
        entry.vendorId = readId(source, child, "idVendor");
        entry.productId = readId(source, child, "idProduct");
        entry.serialNumber = limitSerialNumber(readAttribute(source, child, "serial").value_or(""));
        controller.ports.push_back(std::move(entry));
    }
}

}  // namespace

ControllerList walkSysfs(SysfsSource& source) {
    ControllerList controllers;
    for (int bus = 1; bus <= kSysfsBusNumbers; ++bus) {
        const std::string rootHub = "usb" + std::to_string(bus);
        if (!source.hasDevice(rootHub)) continue;
        ControllerEntry controller;
        controller.path = source.devicePath(rootHub);
        walkHub(source, rootHub, std::to_string(bus) + "-", controller, 0);
        controllers.push_back(std::move(controller));
    }
    return controllers;
}

ControllerList scanSysfs(const std::string& root) {
    SysfsFolder folder(root);
    return walkSysfs(folder);
}

}  // namespace portwalk
