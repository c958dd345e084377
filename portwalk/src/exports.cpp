// The three exported functions over the process-wide list of the latest scan.
#include "controller_table.h"
#include "platform_scan.h"
#include "portwalk.h"

namespace {

// Empty when the library is loaded, replaced by every scan, released when it is unloaded.
portwalk::ControllerTable controllerTable;

}  // namespace

extern "C" int32_t GetRootHubCount(void) {
    try {
        return controllerTable.replace(portwalk::scanControllers());
    } catch (...) {
        // Out of memory in the middle of a scan: report nothing rather than let it cross the
        // C boundary.
        return controllerTable.replace({});
    }
}

extern "C" int32_t GetHubPortCount(int32_t controllerIndex) {
    return controllerTable.portCount(controllerIndex);
}

extern "C" void GetPortResource(uint32_t controllerIndex, uint32_t portIndex, char* resource) {
    controllerTable.writeResource(controllerIndex, portIndex, resource);
}
