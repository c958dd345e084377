#include "controller_table.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace portwalk {

void formatResource(const PortEntry& port, std::uint16_t makerVendorId, char* resource) {
    char text[kResourceSize] = "-";
    if (port.vendorId == makerVendorId) {
        std::snprintf(text, sizeof text, "USB::0x%.4x::0x%.4x::%s", unsigned{port.vendorId},
                      unsigned{port.productId}, limitSerialNumber(port.serialNumber).c_str());
    }
    std::memcpy(resource, text, std::strlen(text) + 1);
}

std::int32_t ControllerTable::replace(ControllerList controllers) {
    controllers_ = std::move(controllers);
    return controllerCount();
}

std::int32_t ControllerTable::controllerCount() const {
    return static_cast<std::int32_t>(controllers_.size());
}

std::int32_t ControllerTable::portCount(std::int32_t controllerIndex) const {
    if (controllerIndex < 0 || controllerIndex >= controllerCount()) return 0;
    return static_cast<std::int32_t>(controllers_[controllerIndex].ports.size());
}

void ControllerTable::writeResource(std::uint32_t controllerIndex, std::uint32_t portIndex,
                                    char* resource) const {
    if (controllerIndex >= controllers_.size()) return;
    const auto& ports = controllers_[controllerIndex].ports;
    if (portIndex >= ports.size()) return;
    formatResource(ports[portIndex], makerVendorId_, resource);
}

}  // namespace portwalk
