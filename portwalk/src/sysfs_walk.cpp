#include "sysfs_walk.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "hub_walk.h"

namespace portwalk {
namespace {

namespace fs = std::filesystem;

// No hub has more ports than its descriptor's one-byte port count can name.
constexpr unsigned long kMaxPorts = 255;

// An attribute's text without its trailing newline; nothing when the file cannot be read.
std::optional<std::string> readAttribute(const fs::path& device, const char* name) {
    std::ifstream file(device / name, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n') text.pop_back();
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

std::uint16_t readId(const fs::path& device, const char* name) {
    return static_cast<std::uint16_t>(
        parseNumber(readAttribute(device, name), 16, 0xFFFF).value_or(0));
}

unsigned long readMaxChild(const fs::path& device) {
    return parseNumber(readAttribute(device, "maxchild"), 10, kMaxPorts).value_or(0);
}

bool isHub(const fs::path& device) {
    return readAttribute(device, "bDeviceClass") == std::string("09") && readMaxChild(device) > 0;
}

void walkHub(const fs::path& root, const fs::path& hub, const std::string& childPrefix,
             ControllerEntry& controller, int nesting) {
    const unsigned long portCount = readMaxChild(hub);
    for (unsigned long port = 1; port <= portCount; ++port) {
        const std::string childName = childPrefix + std::to_string(port);
        const fs::path child = root / childName;
        std::error_code error;
        if (!fs::is_directory(child, error)) {
            controller.ports.push_back(PortEntry{});
            continue;
        }
        if (isHub(child) && nesting < kMaxHubNesting) {
            walkHub(root, child, childName + ".", controller, nesting + 1);
            continue;
        }
        PortEntry entry;
        entry.vendorId = readId(child, "idVendor");
        entry.productId = readId(child, "idProduct");
        entry.serialNumber = limitSerialNumber(readAttribute(child, "serial").value_or(""));
        controller.ports.push_back(std::move(entry));
    }
}

}  // namespace

ControllerList scanSysfs(const std::string& root) {
    ControllerList controllers;
    for (int bus = 1; bus <= kSysfsBusNumbers; ++bus) {
        const fs::path rootHub = fs::path(root) / ("usb" + std::to_string(bus));
        std::error_code error;
        if (!fs::is_directory(rootHub, error)) continue;
        ControllerEntry controller;
        controller.path = rootHub.string();
        walkHub(root, rootHub, std::to_string(bus) + "-", controller, 0);
        controllers.push_back(std::move(controller));
    }
    return controllers;
}

}  // namespace portwalk
