// The walk of the Windows USB host controllers and hubs, written once against the device-I/O
// seam: controllers "\\.\HCD0" to "\\.\HCD15", each controller's root hub and every external hub
// below it, one port entry per downstream port in depth-first order.
#pragma once

#include "device_io.h"
#include "port_list.h"

namespace portwalk {

constexpr int kControllerNumbers = 16;

// External hubs nested deeper than this are not followed; a real tree stops at five, so only a
// broken driver reply can reach the limit. A hub whose name the scan has walked already is not
// walked again: its port is an ordinary entry.
constexpr int kMaxHubNesting = 8;

// Names longer than this (in bytes, header included) are treated as unreadable rather than
// trusted for an allocation.
constexpr std::size_t kMaxNameBytes = 0x10000;

ControllerList scanHubDriver(DeviceIo& io);

}  // namespace portwalk
