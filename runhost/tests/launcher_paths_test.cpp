#include "launcher_paths.h"

#include <gtest/gtest.h>

namespace {

using runhost::LinuxConventions;
using runhost::PathConventions;
using runhost::WindowsConventions;

struct PathCase {
    const PathConventions& conventions;
    const char* executable;
    const char* directory;
    const char* archive;
};

TEST(RunhostPaths, ArchiveLiesBesideTheExecutableWithItsLastExtensionReplaced) {
    const PathCase cases[] = {
        {WindowsConventions(), "C:\\apps\\tool.exe", "C:\\apps", "C:\\apps\\tool.pkf"},
        {WindowsConventions(), "C:\\apps\\tool.v2.exe", "C:\\apps", "C:\\apps\\tool.v2.pkf"},
        {WindowsConventions(), "C:/apps/sub/tool.exe", "C:\\apps\\sub", "C:\\apps\\sub\\tool.pkf"},
        {WindowsConventions(), "C:\\apps/mixed\\tool", "C:\\apps\\mixed",
         "C:\\apps\\mixed\\tool.pkf"},
        {WindowsConventions(), "tool.exe", ".", ".\\tool.pkf"},
        {WindowsConventions(), "C:\\a.b\\tool", "C:\\a.b", "C:\\a.b\\tool.pkf"},
        {WindowsConventions(), "C:\\tool.exe", "C:", "C:\\tool.pkf"},
        {LinuxConventions(), "/opt/app/tool.v2", "/opt/app", "/opt/app/tool.pkf"},
        {LinuxConventions(), "/opt/app/tool", "/opt/app", "/opt/app/tool.pkf"},
        {LinuxConventions(), "/opt/app/tool.v2.exe", "/opt/app", "/opt/app/tool.v2.pkf"},
        {LinuxConventions(), "/opt/a.b/tool", "/opt/a.b", "/opt/a.b/tool.pkf"},
        {LinuxConventions(), "tool", ".", "./tool.pkf"},
        {LinuxConventions(), "/opt/back\\slash.x", "/opt", "/opt/back\\slash.pkf"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.executable);
        EXPECT_EQ(runhost::ExecutableDirectory(c.executable, c.conventions), c.directory);
        EXPECT_EQ(runhost::ArchivePathBeside(c.executable, c.conventions), c.archive);
    }
}

TEST(RunhostPaths, PiecesAreJoinedWithOneSeparator) {
    const struct {
        const PathConventions& conventions;
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {WindowsConventions(), "C:\\rt", "x.dll", "C:\\rt\\x.dll"},
        {WindowsConventions(), "C:\\rt\\", "x.dll", "C:\\rt\\x.dll"},
        {WindowsConventions(), "C:/rt/", "x.dll", "C:/rt/x.dll"},
        {LinuxConventions(), "/usr/lib", "libx.so", "/usr/lib/libx.so"},
        {LinuxConventions(), "/usr/lib/", "libx.so", "/usr/lib/libx.so"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runhost::JoinPath(c.folder, c.name, c.conventions), c.joined);
    }
}

}  // namespace
