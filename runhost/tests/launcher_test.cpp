#include "launcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake_runtime.h"
#include "simulated_platform.h"
#include "temp_folder.h"
#include "test_block.h"

namespace {

using runhost_test::BlockSpec;
using runhost_test::SimulatedPlatform;
using runhost_test::TempFolder;

const char kRuntimeFile[] = "libnrlnrtrt7_14_2.so";

// One launcher run inside the test process: real archive files in a temporary
// folder, the simulated platform and the runtime stand-in linked in.
class LauncherRun {
  public:
    explicit LauncherRun(const std::string& name)
        : folder(name), platform(runhost::LinuxConventions()) {
        fake_runtime::Reset();
        platform.executable = folder.file("tool.v2");
        platform.symbols = &fake_runtime::Symbol;
        blockSpec.startMessage = "  Welcome  ";
        blockSpec.completeMessage = "Done";
        blockSpec.componentText = "component-text";
        blockSpec.componentList = "c1,c2";
        blockSpec.mainText = "main-text";
        runtimePath = folder.file("runtime/linux/") + kRuntimeFile;
        platform.virtualFiles.insert(runtimePath);
        platform.loadableLibraries.insert(runtimePath);
    }

    std::string archivePath() const { return folder.file("tool.pkf"); }

    // Writes the archive beside the executable, or appended to it.
    void writeArchive(bool embedded) {
        const std::vector<std::uint8_t> block = runhost_test::BuildBlock(blockSpec);
        if (embedded) {
            std::vector<std::uint8_t> program(4096 + block.size(), 0x90);
            std::copy(block.begin(), block.end(), program.begin() + 4096);
            ASSERT_TRUE(runhost_test::WriteFile(*platform.executable, program));
        } else {
            ASSERT_TRUE(runhost_test::WriteFile(*platform.executable, {0x7F, 'E', 'L', 'F'}));
            ASSERT_TRUE(runhost_test::WriteFile(archivePath(), block));
        }
    }

    int run() {
        const char* argv[] = {"tool.v2", "one", "two words", nullptr};
        return runhost::RunLauncher(platform, 3, argv);
    }

    std::vector<std::string> errors() const {
        std::vector<std::string> found;
        for (const std::string& event : platform.events) {
            if (event.rfind("err:", 0) == 0 || event.rfind("box[", 0) == 0) found.push_back(event);
        }
        return found;
    }

    TempFolder folder;
    SimulatedPlatform platform;
    BlockSpec blockSpec;
    std::string runtimePath;
};

std::vector<std::string> StandaloneCalls(const LauncherRun& run) {
    return {
        "nrlnrtInitialize_proxy()",
        "getInitOptionsFromPkfFile_proxy(archive=" + run.archivePath() + ")",
        "nrlInitializeApplication_proxy(count=2,options=given)",
        "nrlFreeStrArray_proxy(count=2,options=given)",
        "nrlRunMain_proxy(argc=3,args=one|two words)",
        "nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(exeDir=" + run.folder.path() +
            ",component=component-text,reserved=0)",
        "nrlGetID_proxy(instance=fake)",
        "nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)",
        "nrlWrite_proxy(stream=1,text=Done)",
        "nrlWrite_proxy(stream=1,text=\\n)",
        "nrlMain_proxy(instance=fake,userData=77,args=one|two words,mainText=main-text,mainFlag=3)",
        "nrlTerminateInstance_proxy(instance=fake)",
        "nrlTerminateApplication_proxy()",
    };
}

TEST(RunhostLauncher, StandaloneRunTellsEveryStepAndAnswersTheApplicationsResult) {
    LauncherRun run("standalone");
    run.writeArchive(false);
    run.platform.environment["PKFX_VERBOSE"] = "";
    fake_runtime::CurrentSettings().mainResult = 42;

    EXPECT_EQ(run.run(), 42);
    const std::string dir = run.folder.path();
    const std::vector<std::string> expected = {
        "out:Status:Executable file full name=" + dir + "/tool.v2\n",
        "out:Status:PKF is embedded=false\n",
        "out:Status:PKF file name=" + dir + "/tool.pkf\n",
        "out:PKF_DataBlock:\nData block size = 8192 bytes\nversion str=V1NCC4000NXC1000NRT1000\n"
        "NRT Major Version:7\nNRT Minor Version:14\nNRT Updater Version:2\n"
        "UUID:3f2a9c4e-0d1b-4c55-9e77-1a2b3c4d5e6f\nStart message:  Welcome  \n"
        "Complete message:Done\n",
        "out:build library name=libnrlnrtrt7_14_2.so\n",
        "out:1. search " + dir + "/runtime/linux/libnrlnrtrt7_14_2.so\n",
        "out:Find libnrlnrtrt7_14_2.so in " + dir + "/runtime/linux\n",
        "out:Initializing Numora Compiler Runtime version 7.14.2\n",
        "out:Starting Up:Welcome\n",
        "out:Status:nrlInitializeApplication completed\n",
    };
    EXPECT_EQ(run.platform.events, expected);
    EXPECT_EQ(fake_runtime::Calls(), StandaloneCalls(run));
    EXPECT_EQ(run.platform.loaded, std::vector<std::string>{run.runtimePath});
}

TEST(RunhostLauncher, EmbeddedRunReadsTheBlockTwiceAndUsesTheEmbeddedStream) {
    LauncherRun run("embedded");
    run.blockSpec.startMessage.reset();
    run.writeArchive(true);
    run.platform.environment["PKFX_VERBOSE"] = "1";

    EXPECT_EQ(run.run(), 0);
    const std::string exe = run.folder.file("tool.v2");
    ASSERT_GE(run.platform.events.size(), 5u);
    EXPECT_EQ(run.platform.events[0], "out:Status:Executable file full name=" + exe + "\n");
    EXPECT_EQ(run.platform.events[1].rfind("out:PKF_DataBlock:\n", 0), 0u);
    EXPECT_EQ(run.platform.events[2], "out:Status:PKF is embedded=true\n");
    EXPECT_EQ(run.platform.events[3], "out:Status:PKF file name=" + exe + "\n");
    EXPECT_EQ(run.platform.events[4], run.platform.events[1]);
    for (const std::string& event : run.platform.events) {
        EXPECT_EQ(event.find("Initializing"), std::string::npos) << "no start message, no line";
    }
    const std::vector<std::string> expected = {
        "nrlnrtInitialize_proxy()",
        "getInitOptionsFromPkfFile_proxy(archive=" + exe + ")",
        "nrlInitializeApplication_proxy(count=2,options=given)",
        "nrlFreeStrArray_proxy(count=2,options=given)",
        "nrlRunMain_proxy(argc=3,args=one|two words)",
        "nrlGetEmbeddedPkfStream_proxy(handle=null,value=305419896)",
        "nrlInitializeComponentInstanceEmbedded_proxy(stream=given,value=305419896)",
        "nrlDestroyStream_proxy(stream=given)",
        "nrlGetID_proxy(instance=fake)",
        "nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)",
        "nrlWrite_proxy(stream=1,text=Done)",
        "nrlWrite_proxy(stream=1,text=\\n)",
        "nrlMain_proxy(instance=fake,userData=77,args=one|two words,mainText=main-text,mainFlag=3)",
        "nrlTerminateInstance_proxy(instance=fake)",
        "nrlTerminateApplication_proxy()",
    };
    EXPECT_EQ(fake_runtime::Calls(), expected);
}

TEST(RunhostLauncher, QuietRunShowsOnlyTheStartMessages) {
    const struct {
        const char* name;
        std::optional<std::string> start;
        std::vector<std::string> events;
    } cases[] = {
        {"no start message", std::nullopt, {}},
        {"blank start message",
         std::string(" \t "),
         {"out:Initializing Numora Compiler Runtime version 7.14.2\n"}},
        {"padded start message",
         std::string("\tHello there \n\0\0\0", 17),
         {"out:Initializing Numora Compiler Runtime version 7.14.2\n",
          "out:Starting Up:Hello there\n"}},
        {"zero padding only", std::string("\0\0\0\0", 4), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherRun run("quiet");
        run.blockSpec.startMessage = c.start;
        run.writeArchive(false);
        EXPECT_EQ(run.run(), 0);
        EXPECT_EQ(run.platform.events, c.events);
    }
}

TEST(RunhostLauncher, HandlersWriteTheApplicationsOutputThroughTheRuntime) {
    const struct {
        const char* print;
        const char* error;
        std::vector<std::string> writes;
        int answered;
    } cases[] = {
        {"hi",
         "oops",
         {"nrlWrite_proxy(stream=1,text=hi)", "nrlWrite_proxy(stream=2,text=oops)",
          "nrlWrite_proxy(stream=2,text=\\n)", "handlers answered 7"},
         7},
        {"", "line\n", {"nrlWrite_proxy(stream=2,text=line\\n)", "handlers answered 5"}, 5},
        {"a\nb", "", {"nrlWrite_proxy(stream=1,text=a\\nb)", "handlers answered 3"}, 3},
    };
    for (const auto& c : cases) {
        LauncherRun run("handlers");
        run.blockSpec.completeMessage.reset();
        run.writeArchive(false);
        fake_runtime::CurrentSettings().printText = c.print;
        fake_runtime::CurrentSettings().errorText = c.error;
        EXPECT_EQ(run.run(), 0);
        const std::vector<std::string>& calls = fake_runtime::Calls();
        const auto main = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
            return call.rfind("nrlMain_proxy(", 0) == 0;
        });
        ASSERT_NE(main, calls.end());
        EXPECT_EQ(std::vector<std::string>(main + 1, main + 1 + c.writes.size()), c.writes);
    }
}

struct FailureCase {
    const char* name;
    std::function<void(LauncherRun&)> arrange;
    std::vector<std::string> errors;
    std::vector<std::string> calls;
    int exitCode;
};

TEST(RunhostLauncher, EveryFailureIsReportedInOrderWithItsExitCode) {
    const std::string lastError = "fake runtime error";
    const std::string notFound =
        "box[Error]:Could not find version 7.14.2 of the NRT.\n"
        "Attempting to load libnrlnrtrt7_14_2.so.\n"
        "Please install the correct version of the NRT.\n"
        "Contact your vendor if you do not have an installer for the NRT.";
    const std::vector<std::string> startCalls = {
        "nrlnrtInitialize_proxy()", "getInitOptionsFromPkfFile_proxy(archive=@ARCHIVE@)",
        "nrlInitializeApplication_proxy(count=2,options=given)",
        "nrlFreeStrArray_proxy(count=2,options=given)",
        "nrlRunMain_proxy(argc=3,args=one|two words)"};
    auto withStart = [&](std::vector<std::string> tail) {
        std::vector<std::string> calls = startCalls;
        calls.insert(calls.end(), tail.begin(), tail.end());
        return calls;
    };
    auto withEmbeddedStart = [&](std::vector<std::string> tail) {
        std::vector<std::string> calls = withStart(std::move(tail));
        calls[1] = "getInitOptionsFromPkfFile_proxy(archive=@EXE@)";
        return calls;
    };
    auto failing = [](const char* entry) {
        return [entry](LauncherRun& run) {
            run.writeArchive(false);
            fake_runtime::CurrentSettings().failing.insert(entry);
        };
    };
    const std::string standaloneInit =
        "nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(exeDir=@DIR@,component="
        "component-text,reserved=0)";
    const std::string mainCall =
        "nrlMain_proxy(instance=fake,userData=77,args=one|two words,mainText=main-text,"
        "mainFlag=3)";

    const FailureCase cases[] = {
        {"no executable path",
         [](LauncherRun& run) { run.platform.executable.reset(); },
         {"err:Error:Could not find the current executable file.\n"},
         {},
         -1},
        {"no archive",
         [](LauncherRun&) {},
         {"err:Error:Cannot find PKF archive @ARCHIVE@\n",
          "err:Error:Error initializing PKF Archive.\n"},
         {},
         -1},
        {"minor version 13",
         [](LauncherRun& run) {
             run.blockSpec.minor = "13";
             run.writeArchive(false);
         },
         {"err:Error:Your application is not a valid Numora compiled application.\n"},
         {},
         -1},
        {"major version 70",
         [](LauncherRun& run) {
             run.blockSpec.major = "70";
             run.writeArchive(false);
         },
         {"err:Error:Your application is not a valid Numora compiled application.\n"},
         {},
         -1},
        {"wrong magic",
         [](LauncherRun& run) {
             run.blockSpec.magic = "V1NCC4000NXC1000NRT2000";
             run.writeArchive(false);
         },
         {"err:Error:Your application is not a valid Numora compiled application.\n"},
         {},
         -1},
        {"runtime nowhere",
         [](LauncherRun& run) {
             run.writeArchive(false);
             run.platform.virtualFiles.clear();
         },
         {notFound},
         {},
         -1},
        {"runtime cannot be bound",
         [](LauncherRun& run) {
             run.writeArchive(false);
             run.platform.loadableLibraries.clear();
         },
         {"err:Error:Could not load @RUNTIME@: simulated load failure\n"},
         {},
         -1},
        {"runtime lacks an entry point",
         [](LauncherRun& run) {
             run.writeArchive(false);
             run.platform.symbols = [](const std::string& name) -> void* {
                 return name == "nrlWrite_proxy" ? nullptr : fake_runtime::Symbol(name);
             };
         },
         {"err:Error:Could not find nrlWrite_proxy in @RUNTIME@: simulated load failure\n"},
         {},
         -1},
        {"runtime core fails",
         failing("nrlnrtInitialize_proxy"),
         {"err:Error:nrlnrt initialization failed\n"},
         {"nrlnrtInitialize_proxy()"},
         -1},
        {"application initialisation fails",
         failing("nrlInitializeApplication_proxy"),
         {"err:Error:Application initialization failed.\n", "err:Error:" + lastError + "\n"},
         {"nrlnrtInitialize_proxy()", "getInitOptionsFromPkfFile_proxy(archive=@ARCHIVE@)",
          "nrlInitializeApplication_proxy(count=2,options=given)",
          "nrlFreeStrArray_proxy(count=2,options=given)", "nrlGetLastErrorMessage_proxy()"},
         -1},
        {"standalone instance fails",
         failing("nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy"),
         {"err:Error:Initialize component instance failed.\n", "err:Error:" + lastError + "\n"},
         withStart({standaloneInit, "nrlGetLastErrorMessage_proxy()"}),
         -1},
        {"embedded instance fails",
         [](LauncherRun& run) {
             run.writeArchive(true);
             fake_runtime::CurrentSettings().failing.insert(
                 "nrlInitializeComponentInstanceEmbedded_proxy");
         },
         {"err:Error:Initialize component instance failed.\n", "err:Error:" + lastError + "\n"},
         withEmbeddedStart(
             {"nrlGetEmbeddedPkfStream_proxy(handle=null,value=305419896)",
              "nrlInitializeComponentInstanceEmbedded_proxy(stream=given,value=305419896)",
              "nrlDestroyStream_proxy(stream=given)", "nrlGetLastErrorMessage_proxy()"}),
         -1},
        {"command line refused",
         failing("nrlSetCmdLineUserData_proxy"),
         {"err:Error:" + lastError + "\n"},
         withStart({standaloneInit, "nrlGetID_proxy(instance=fake)",
                    "nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)",
                    "nrlGetLastErrorMessage_proxy()", "nrlTerminateInstance_proxy(instance=fake)",
                    "nrlTerminateApplication_proxy()"}),
         -1},
        {"instance termination fails",
         [](LauncherRun& run) {
             run.writeArchive(false);
             fake_runtime::CurrentSettings().failing.insert("nrlTerminateInstance_proxy");
             fake_runtime::CurrentSettings().mainResult = 5;
         },
         {"err:Error:" + lastError + "\n"},
         withStart({standaloneInit, "nrlGetID_proxy(instance=fake)",
                    "nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)",
                    "nrlWrite_proxy(stream=1,text=Done)", "nrlWrite_proxy(stream=1,text=\\n)",
                    mainCall, "nrlTerminateInstance_proxy(instance=fake)",
                    "nrlGetLastErrorMessage_proxy()", "nrlTerminateApplication_proxy()"}),
         5},
        {"application termination fails",
         [](LauncherRun& run) {
             run.writeArchive(false);
             fake_runtime::CurrentSettings().failing.insert("nrlTerminateApplication_proxy");
             fake_runtime::CurrentSettings().mainResult = -7;
         },
         {"err:Error:" + lastError + "\n"},
         withStart({standaloneInit, "nrlGetID_proxy(instance=fake)",
                    "nrlSetCmdLineUserData_proxy(id=4242,argc=3,args=one|two words)",
                    "nrlWrite_proxy(stream=1,text=Done)", "nrlWrite_proxy(stream=1,text=\\n)",
                    mainCall, "nrlTerminateInstance_proxy(instance=fake)",
                    "nrlTerminateApplication_proxy()", "nrlGetLastErrorMessage_proxy()"}),
         -7},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherRun run("failure");
        c.arrange(run);
        auto fill = [&](std::string text) {
            for (const auto& [key, value] :
                 {std::pair<std::string, std::string>{"@ARCHIVE@", run.archivePath()},
                  {"@DIR@", run.folder.path()},
                  {"@EXE@", run.platform.executable.value_or(std::string())},
                  {"@RUNTIME@", run.runtimePath}}) {
                for (std::size_t at; (at = text.find(key)) != std::string::npos;) {
                    text.replace(at, key.size(), value);
                }
            }
            return text;
        };
        std::vector<std::string> errors, calls;
        for (const std::string& e : c.errors) errors.push_back(fill(e));
        for (const std::string& e : c.calls) calls.push_back(fill(e));

        EXPECT_EQ(run.run(), c.exitCode);
        EXPECT_EQ(run.errors(), errors);
        EXPECT_EQ(fake_runtime::Calls(), calls);
    }
}

TEST(RunhostLauncher, WithoutAConsoleErrorsGoToMessageBoxes) {
    LauncherRun run("boxes");
    run.platform.hasParentConsole = false;
    EXPECT_EQ(run.run(), -1);
    EXPECT_EQ(run.errors(),
              (std::vector<std::string>{"box[Error]:Cannot find PKF archive " + run.archivePath(),
                                        "box[Error]:Error initializing PKF Archive."}));
}

TEST(RunhostLauncher, VersionIsRejectedBeforeAnySearch) {
    LauncherRun run("early");
    run.blockSpec.minor = "13";
    run.writeArchive(false);
    run.platform.environment["PKFX_VERBOSE"] = "";
    run.platform.environment["LD_LIBRARY_PATH"] = "/somewhere";
    EXPECT_EQ(run.run(), -1);
    for (const std::string& probe : run.platform.probed) {
        EXPECT_EQ(probe.find("nrlnrtrt"), std::string::npos) << probe;
    }
    for (const std::string& event : run.platform.events) {
        EXPECT_EQ(event.find("search"), std::string::npos) << event;
    }
    // The block is valid, only its version is wrong: the dump still appears.
    EXPECT_NE(std::find_if(run.platform.events.begin(), run.platform.events.end(),
                           [](const std::string& e) {
                               return e.find("NRT Minor Version:13") != std::string::npos;
                           }),
              run.platform.events.end());
}

TEST(RunhostLauncher, RuntimeIsBoundFromTheFolderTheSearchFoundItIn) {
    LauncherRun run("bound");
    run.writeArchive(false);
    run.platform.virtualFiles = {"/opt/nrt/" + std::string(kRuntimeFile)};
    run.platform.loadableLibraries = run.platform.virtualFiles;
    run.platform.environment["LD_LIBRARY_PATH"] = "/usr/lib:/opt/nrt";
    EXPECT_EQ(run.run(), 0);
    EXPECT_EQ(run.platform.loaded,
              std::vector<std::string>{"/opt/nrt/" + std::string(kRuntimeFile)});
}

}  // namespace
