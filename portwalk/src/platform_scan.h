// One scan of this computer's USB controllers; the build picks the Windows or the Linux side.
#pragma once

#include "port_list.h"

namespace portwalk {

ControllerList scanControllers();

}  // namespace portwalk
