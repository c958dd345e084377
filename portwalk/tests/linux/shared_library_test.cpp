// The built libportwalk.so as a host program sees it: loaded by name and its three exports.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

TEST(PortwalkSharedLibrary, LoadsAndAnswersAnEmptyListBeforeTheFirstScan) {
    void* library = dlopen(PORTWALK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto getHubPortCount =
        reinterpret_cast<std::int32_t (*)(std::int32_t)>(dlsym(library, "GetHubPortCount"));
    auto getPortResource = reinterpret_cast<void (*)(std::uint32_t, std::uint32_t, char*)>(
        dlsym(library, "GetPortResource"));
    ASSERT_NE(getHubPortCount, nullptr);
    ASSERT_NE(getPortResource, nullptr);
    EXPECT_NE(dlsym(library, "GetRootHubCount"), nullptr);
    // The walk itself stays hidden.
    EXPECT_EQ(
        dlsym(library,
              "_ZN8portwalk9scanSysfsERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"),
        nullptr);

    char resource[41];
    std::memset(resource, 'x', sizeof resource);
    EXPECT_EQ(getHubPortCount(0), 0);
    getPortResource(0, 0, resource);
    EXPECT_EQ(std::string(resource, sizeof resource), std::string(41, 'x'));
    dlclose(library);
}

}  // namespace
