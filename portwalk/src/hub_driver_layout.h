// Byte layout of the hub driver's buffers (packed, little-endian), as the Windows headers
// declare USB_NODE_INFORMATION, USB_NODE_CONNECTION_INFORMATION, USB_DESCRIPTOR_REQUEST,
// USB_NODE_CONNECTION_NAME and USB_ROOT_HUB_NAME. The walk reads and writes these offsets through
// explicit helpers so that it runs unchanged against the simulated driver; the Windows seam
// checks every value against the Windows headers at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portwalk::layout {

// USB_ROOT_HUB_NAME: ActualLength, then the UTF-16 name.
constexpr std::size_t kRootHubNameActualLength = 0;
constexpr std::size_t kRootHubNameText = 4;
constexpr std::size_t kRootHubNameSize = 6;

// USB_NODE_INFORMATION: NodeType, then the hub descriptor.
constexpr std::size_t kNodeInformationSize = 76;
constexpr std::size_t kNodeInformationHubDescriptor = 4;
constexpr std::size_t kNodeInformationNumberOfPorts = 6;

// USB_NODE_CONNECTION_INFORMATION, followed by room for 30 USB_PIPE_INFO entries.
constexpr std::size_t kConnectionIndex = 0;
constexpr std::size_t kConnectionDeviceDescriptor = 4;
constexpr std::size_t kConnectionDeviceIsHub = 24;
constexpr std::size_t kConnectionNumberOfOpenPipes = 27;
constexpr std::size_t kConnectionStatus = 31;
constexpr std::size_t kConnectionInformationSize = 35;
constexpr std::size_t kPipeInfoSize = 11;
constexpr std::size_t kPipeRoom = 30;
constexpr std::size_t kConnectionBufferSize =
    kConnectionInformationSize + kPipeRoom * kPipeInfoSize;

// Standard device descriptor fields, from its first byte.
constexpr std::size_t kDeviceDescriptorSize = 18;
constexpr std::size_t kDeviceIdVendor = 8;
constexpr std::size_t kDeviceIdProduct = 10;
constexpr std::size_t kDeviceISerialNumber = 16;

// USB_CONNECTION_STATUS values the walk looks at.
constexpr std::uint32_t kNoDeviceConnected = 0;
constexpr std::uint32_t kDeviceConnected = 1;

// USB_DESCRIPTOR_REQUEST: ConnectionIndex, the setup packet, then the descriptor bytes.
constexpr std::size_t kRequestConnectionIndex = 0;
constexpr std::size_t kRequestBmRequest = 4;
constexpr std::size_t kRequestBRequest = 5;
constexpr std::size_t kRequestWValue = 6;
constexpr std::size_t kRequestWIndex = 8;
constexpr std::size_t kRequestWLength = 10;
constexpr std::size_t kRequestData = 12;

// Descriptors as they arrive in the data area.
constexpr std::uint8_t kConfigurationDescriptorType = 2;
constexpr std::uint8_t kStringDescriptorType = 3;
constexpr std::size_t kConfigurationHeaderSize = 9;
constexpr std::size_t kConfigurationWTotalLength = 2;
constexpr std::size_t kStringHeaderSize = 2;
constexpr std::size_t kStringDataRoom = 255;

// USB_NODE_CONNECTION_NAME: ConnectionIndex, ActualLength, then the UTF-16 name.
constexpr std::size_t kConnectionNameIndex = 0;
constexpr std::size_t kConnectionNameActualLength = 4;
constexpr std::size_t kConnectionNameText = 8;
constexpr std::size_t kConnectionNameSize = 10;

}  // namespace portwalk::layout
