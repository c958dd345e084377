// The walk of the Linux USB device tree in sysfs: root hubs usb1 to usb16 are the controllers,
// a hub's ports 1 to maxchild are read in ascending order, external hubs are walked in place.
#pragma once

#include <optional>
#include <string>

#include "port_list.h"

namespace portwalk {

constexpr int kSysfsBusNumbers = 16;

// Where the walk reads the device tree: the device entries by name ("usb1", "1-2.3") and their
// attribute texts. On a running system these are the folders and files of sysfs.
class SysfsSource {
  public:
    virtual ~SysfsSource() = default;

    virtual bool hasDevice(const std::string& device) = 0;
    // The whole text of one attribute, trailing newline included; nothing when it cannot be read.
    virtual std::optional<std::string> attribute(const std::string& device,
                                                 const std::string& name) = 0;
    // What a controller entry shows as the path of its root hub.
    virtual std::string devicePath(const std::string& device) = 0;
};

ControllerList walkSysfs(SysfsSource& source);

// root is the folder that holds the device entries ("/sys/bus/usb/devices" on a running system).
ControllerList scanSysfs(const std::string& root);

}  // namespace portwalk
