// The Windows side of the device-I/O seam against the real system calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "hub_driver_layout.h"
#include "windows_device_io.h"

namespace portwalk {
namespace {

TEST(PortwalkWindowsSeam, MissingDeviceDoesNotOpen) {
    WindowsDeviceIo io;
    DeviceHandle handle = nullptr;
    EXPECT_FALSE(io.open("\\\\.\\PortwalkNoSuchController", handle));
}

TEST(PortwalkWindowsSeam, HubRequestToAnOrdinaryFileFails) {
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameA(folder, "pw", 0, path), 0u);

    WindowsDeviceIo io;
    DeviceHandle handle = nullptr;
    ASSERT_TRUE(io.open(path, handle));
    unsigned char name[layout::kRootHubNameSize] = {};
    std::size_t returned = 99;
    EXPECT_FALSE(
        io.control(handle, UsbRequest::RootHubName, nullptr, 0, name, sizeof name, returned));
    EXPECT_EQ(returned, 0u);
    io.close(handle);
    EXPECT_NE(DeleteFileA(path), 0) << "the handle was not closed";
}

TEST(PortwalkWindowsSeam, NamesConvertToTheAnsiCodePage) {
    WindowsDeviceIo io;
    struct Case {
        std::u16string text;
        std::string expected;
    };
    const Case cases[] = {
        {u"USB#ROOT_HUB20#4&1d5b0b0&0", "USB#ROOT_HUB20#4&1d5b0b0&0"},
        {u"SN-0042", "SN-0042"},
        {std::u16string(u"AB\0C", 4), std::string("AB\0C", 4)},
    };
    for (const Case& c : cases) {
        std::string ansi;
        ASSERT_TRUE(io.ansiFromUtf16(c.text, ansi));
        EXPECT_EQ(ansi, c.expected);
    }
}

}  // namespace
}  // namespace portwalk
