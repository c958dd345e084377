// Windows side of the device-I/O seam.
#pragma once

#include "device_io.h"

namespace portwalk {

class WindowsDeviceIo : public DeviceIo {
  public:
    bool open(const std::string& path, DeviceHandle& handle) override;
    bool control(DeviceHandle handle, UsbRequest request, const void* input, std::size_t inputSize,
                 void* output, std::size_t outputSize, std::size_t& returned) override;
    void close(DeviceHandle handle) override;
    bool ansiFromUtf16(const std::u16string& text, std::string& ansi) override;
};

}  // namespace portwalk
