// The list of the latest scan and the three read operations the exports answer from it.
#pragma once

#include <cstdint>

#include "port_list.h"

namespace portwalk {

// The maker's USB vendor id, chosen when the library is built.
constexpr std::uint16_t MakerVendorId = PORTWALK_MAKER_VENDOR_ID;

// Longest resource text (19-character serial number) plus its terminating zero byte.
constexpr std::size_t kResourceSize = 41;

// Writes the resource text of one port, terminated, into resource (kResourceSize bytes).
void formatResource(const PortEntry& port, std::uint16_t makerVendorId, char* resource);

class ControllerTable {
  public:
    explicit ControllerTable(std::uint16_t makerVendorId = MakerVendorId)
        : makerVendorId_(makerVendorId) {}

    // Replaces the whole list by a new scan result and answers its controller count.
    std::int32_t replace(ControllerList controllers);

    std::int32_t controllerCount() const;
    std::int32_t portCount(std::int32_t controllerIndex) const;
    // Leaves resource untouched when either index is not below its count.
    void writeResource(std::uint32_t controllerIndex, std::uint32_t portIndex,
                       char* resource) const;

  private:
    std::uint16_t makerVendorId_;
    ControllerList controllers_;
};

}  // namespace portwalk
