// Linux side: the controllers and ports come from the USB device tree in sysfs.
#include "platform_scan.h"
#include "sysfs_walk.h"

namespace portwalk {

ControllerList scanControllers() {
    return scanSysfs("/sys/bus/usb/devices");
}

}  // namespace portwalk
