#include "runtime_search.h"

#include <gtest/gtest.h>

#include "reporter.h"
#include "simulated_platform.h"

namespace {

using runhost::DataBlock;
using runhost::LinuxConventions;
using runhost::LocateRuntimeLibrary;
using runhost::Reporter;
using runhost::WindowsConventions;
using runhost_test::SimulatedPlatform;

DataBlock Versions(const std::string& major, const std::string& minor, const std::string& updater) {
    DataBlock block;
    block.valid = true;
    block.majorVersion = major;
    block.minorVersion = minor;
    block.updaterVersion = updater;
    return block;
}

TEST(RunhostRuntimeSearch, LibraryNameFollowsTheVersionTexts) {
    const struct {
        const char *major, *minor, *updater, *windows, *linux;
    } cases[] = {
        {"7", "14", "2", "nrlnrtrt7_14_2.dll", "libnrlnrtrt7_14_2.so"},
        {"7", "14", "0", "nrlnrtrt7_14.dll", "libnrlnrtrt7_14.so"},
        {"7", "14", "00", "nrlnrtrt7_14_00.dll", "libnrlnrtrt7_14_00.so"},
        {"7", "14", "", "nrlnrtrt7_14_.dll", "libnrlnrtrt7_14_.so"},
    };
    for (const auto& c : cases) {
        const DataBlock block = Versions(c.major, c.minor, c.updater);
        EXPECT_EQ(runhost::RuntimeLibraryName(block, WindowsConventions()), c.windows);
        EXPECT_EQ(runhost::RuntimeLibraryName(block, LinuxConventions()), c.linux);
    }
}

struct SearchCase {
    const char* name;
    const runhost::PathConventions& conventions;
    std::optional<std::string> searchList;
    std::set<std::string> existing;
    bool found;
    std::string libraryPath;
    std::vector<std::string> lines;
};

TEST(RunhostRuntimeSearch, FirstMatchWinsAndEveryStepIsTold) {
    const DataBlock block = Versions("7", "14", "2");
    const SearchCase cases[] = {
        {"windows beside the executable",
         WindowsConventions(),
         std::string("C:\\rt"),
         {"C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll", "C:\\rt\\nrlnrtrt7_14_2.dll"},
         true,
         "C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll",
         {"build library name=nrlnrtrt7_14_2.dll",
          "1. search C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll",
          "Find nrlnrtrt7_14_2.dll in C:\\app\\runtime\\win32"}},
        {"windows on the search list",
         WindowsConventions(),
         std::string("C:\\one;;C:\\two\\;C:\\three"),
         {"C:\\two\\nrlnrtrt7_14_2.dll", "C:\\three\\nrlnrtrt7_14_2.dll"},
         true,
         "C:\\two\\nrlnrtrt7_14_2.dll",
         {"build library name=nrlnrtrt7_14_2.dll",
          "1. search C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll",
          "2. search C:\\one;;C:\\two\\;C:\\three", "Found nrlnrtrt7_14_2.dll in C:\\two\\"}},
        {"windows nowhere",
         WindowsConventions(),
         std::string("C:\\one"),
         {},
         false,
         "",
         {"build library name=nrlnrtrt7_14_2.dll",
          "1. search C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll", "2. search C:\\one",
          "3. Try to find nrlnrtrt7_14_2.dll in registry and preference settings"}},
        {"windows nowhere without a search list",
         WindowsConventions(),
         std::nullopt,
         {},
         false,
         "",
         {"build library name=nrlnrtrt7_14_2.dll",
          "1. search C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll",
          "3. Try to find nrlnrtrt7_14_2.dll in registry and preference settings"}},
        {"linux on the search list",
         LinuxConventions(),
         std::string("/usr/lib:/opt/nrt/lib"),
         {"/opt/nrt/lib/libnrlnrtrt7_14_2.so"},
         true,
         "/opt/nrt/lib/libnrlnrtrt7_14_2.so",
         {"build library name=libnrlnrtrt7_14_2.so",
          "1. search /app/runtime/linux/libnrlnrtrt7_14_2.so", "2. search /usr/lib:/opt/nrt/lib",
          "Found libnrlnrtrt7_14_2.so in /opt/nrt/lib"}},
        {"linux beside the executable",
         LinuxConventions(),
         std::nullopt,
         {"/app/runtime/linux/libnrlnrtrt7_14_2.so"},
         true,
         "/app/runtime/linux/libnrlnrtrt7_14_2.so",
         {"build library name=libnrlnrtrt7_14_2.so",
          "1. search /app/runtime/linux/libnrlnrtrt7_14_2.so",
          "Find libnrlnrtrt7_14_2.so in /app/runtime/linux"}},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedPlatform platform(c.conventions);
        platform.virtualFiles = c.existing;
        if (c.searchList) platform.environment[c.conventions.searchVariable] = *c.searchList;
        Reporter reporter(platform, true);
        const std::string directory = &c.conventions == &LinuxConventions() ? "/app" : "C:\\app";
        const runhost::RuntimeLocation location =
            LocateRuntimeLibrary(block, directory, platform, reporter);
        EXPECT_EQ(location.found, c.found);
        EXPECT_EQ(location.libraryPath, c.libraryPath);
        std::vector<std::string> expected;
        for (const std::string& line : c.lines) expected.push_back("out:" + line + "\n");
        EXPECT_EQ(platform.events, expected);
    }
}

TEST(RunhostRuntimeSearch, QuietWithoutVerboseMode) {
    SimulatedPlatform platform(WindowsConventions());
    Reporter reporter(platform, false);
    platform.environment["PATH"] = "C:\\one";
    const auto location =
        LocateRuntimeLibrary(Versions("7", "14", "2"), "C:\\app", platform, reporter);
    EXPECT_FALSE(location.found);
    EXPECT_TRUE(platform.events.empty());
    EXPECT_EQ(platform.probed,
              (std::vector<std::string>{"C:\\app\\runtime\\win32\\nrlnrtrt7_14_2.dll",
                                        "C:\\one\\nrlnrtrt7_14_2.dll"}));
}

}  // namespace
