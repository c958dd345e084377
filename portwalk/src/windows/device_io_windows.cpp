// Windows side of the device-I/O seam: the USB host-controller and hub drivers through
// CreateFileA, DeviceIoControl and CloseHandle, names through WideCharToMultiByte.
#include <windows.h>
// windows.h first: the USB headers build on its types.
#include <usbioctl.h>
#include <usbspec.h>

#include <cstddef>
#include <vector>

#include "hub_driver_layout.h"
#include "hub_walk.h"
#include "platform_scan.h"
#include "windows_device_io.h"

namespace portwalk {
namespace {

// The walk addresses the driver's buffers by offset; hold every offset to the driver's own
// declarations so that the two can never drift apart.
namespace l = layout;
static_assert(offsetof(USB_ROOT_HUB_NAME, ActualLength) == l::kRootHubNameActualLength);
static_assert(offsetof(USB_ROOT_HUB_NAME, RootHubName) == l::kRootHubNameText);
static_assert(sizeof(USB_ROOT_HUB_NAME) == l::kRootHubNameSize);
static_assert(sizeof(USB_NODE_INFORMATION) == l::kNodeInformationSize);
static_assert(offsetof(USB_NODE_INFORMATION, u.HubInformation.HubDescriptor) ==
              l::kNodeInformationHubDescriptor);
static_assert(offsetof(USB_NODE_INFORMATION, u.HubInformation.HubDescriptor.bNumberOfPorts) ==
              l::kNodeInformationNumberOfPorts);
static_assert(offsetof(USB_NODE_CONNECTION_INFORMATION, ConnectionIndex) == l::kConnectionIndex);
static_assert(offsetof(USB_NODE_CONNECTION_INFORMATION, DeviceDescriptor) ==
              l::kConnectionDeviceDescriptor);
static_assert(offsetof(USB_NODE_CONNECTION_INFORMATION, DeviceIsHub) == l::kConnectionDeviceIsHub);
static_assert(offsetof(USB_NODE_CONNECTION_INFORMATION, NumberOfOpenPipes) ==
              l::kConnectionNumberOfOpenPipes);
static_assert(offsetof(USB_NODE_CONNECTION_INFORMATION, ConnectionStatus) == l::kConnectionStatus);
static_assert(sizeof(USB_NODE_CONNECTION_INFORMATION) == l::kConnectionInformationSize);
static_assert(sizeof(USB_PIPE_INFO) == l::kPipeInfoSize);
static_assert(sizeof(USB_DEVICE_DESCRIPTOR) == l::kDeviceDescriptorSize);
static_assert(offsetof(USB_DEVICE_DESCRIPTOR, idVendor) == l::kDeviceIdVendor);
static_assert(offsetof(USB_DEVICE_DESCRIPTOR, idProduct) == l::kDeviceIdProduct);
static_assert(offsetof(USB_DEVICE_DESCRIPTOR, iSerialNumber) == l::kDeviceISerialNumber);
static_assert(NoDeviceConnected == l::kNoDeviceConnected);
static_assert(DeviceConnected == l::kDeviceConnected);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, ConnectionIndex) == l::kRequestConnectionIndex);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, SetupPacket.bmRequest) == l::kRequestBmRequest);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, SetupPacket.bRequest) == l::kRequestBRequest);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, SetupPacket.wValue) == l::kRequestWValue);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, SetupPacket.wIndex) == l::kRequestWIndex);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, SetupPacket.wLength) == l::kRequestWLength);
static_assert(offsetof(USB_DESCRIPTOR_REQUEST, Data) == l::kRequestData);
static_assert(USB_CONFIGURATION_DESCRIPTOR_TYPE == l::kConfigurationDescriptorType);
static_assert(USB_STRING_DESCRIPTOR_TYPE == l::kStringDescriptorType);
static_assert(sizeof(USB_CONFIGURATION_DESCRIPTOR) == l::kConfigurationHeaderSize);
static_assert(offsetof(USB_CONFIGURATION_DESCRIPTOR, wTotalLength) ==
              l::kConfigurationWTotalLength);
static_assert(offsetof(USB_STRING_DESCRIPTOR, bString) == l::kStringHeaderSize);
static_assert(offsetof(USB_NODE_CONNECTION_NAME, ConnectionIndex) == l::kConnectionNameIndex);
static_assert(offsetof(USB_NODE_CONNECTION_NAME, ActualLength) == l::kConnectionNameActualLength);
static_assert(offsetof(USB_NODE_CONNECTION_NAME, NodeName) == l::kConnectionNameText);
static_assert(sizeof(USB_NODE_CONNECTION_NAME) == l::kConnectionNameSize);

DWORD ioctlCode(UsbRequest request) {
    switch (request) {
        case UsbRequest::RootHubName:
            return IOCTL_USB_GET_ROOT_HUB_NAME;
        case UsbRequest::NodeInformation:
            return IOCTL_USB_GET_NODE_INFORMATION;
        case UsbRequest::NodeConnectionInformation:
            return IOCTL_USB_GET_NODE_CONNECTION_INFORMATION;
        case UsbRequest::DescriptorFromNodeConnection:
            return IOCTL_USB_GET_DESCRIPTOR_FROM_NODE_CONNECTION;
        case UsbRequest::NodeConnectionName:
            return IOCTL_USB_GET_NODE_CONNECTION_NAME;
    }
    return 0;
}

}  // namespace

bool WindowsDeviceIo::open(const std::string& path, DeviceHandle& handle) {
    HANDLE device = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    handle = device;
    return true;
}

bool WindowsDeviceIo::control(DeviceHandle handle, UsbRequest request, const void* input,
                              std::size_t inputSize, void* output, std::size_t outputSize,
                              std::size_t& returned) {
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(static_cast<HANDLE>(handle), ioctlCode(request),
                                    const_cast<void*>(input), static_cast<DWORD>(inputSize), output,
                                    static_cast<DWORD>(outputSize), &bytes, nullptr);
    returned = ok ? bytes : 0;
    return ok != FALSE;
}

void WindowsDeviceIo::close(DeviceHandle handle) {
    CloseHandle(static_cast<HANDLE>(handle));
}

bool WindowsDeviceIo::ansiFromUtf16(const std::u16string& text, std::string& ansi) {
    const std::vector<wchar_t> wide(text.begin(), text.end());
    const int units = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    ansi.assign(static_cast<std::size_t>(size), '\0');
    return WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &ansi[0], size, nullptr, nullptr) ==
           size;
}

ControllerList scanControllers() {
    WindowsDeviceIo io;
    return scanHubDriver(io);
}

}  // namespace portwalk
