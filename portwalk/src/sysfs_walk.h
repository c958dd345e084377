// The walk of the Linux USB device tree in sysfs: root hubs usb1 to usb16 are the controllers,
// a hub's ports 1 to maxchild are read in ascending order, external hubs are walked in place.
#pragma once

#include <string>

#include "port_list.h"

namespace portwalk {

constexpr int kSysfsBusNumbers = 16;

// root is the folder that holds the device entries ("/sys/bus/usb/devices" on a running system).
ControllerList scanSysfs(const std::string& root);

}  // namespace portwalk
