#pragma once

#include <optional>
#include <string>

#include "data_block.h"
#include "runtime_api.h"

namespace runhost {

class Platform;
class Reporter;

constexpr int kLauncherFailure = -1;

// Start-up (console or message boxes, verbose mode) and the main sequence.
int RunLauncher(Platform& platform, int argc, const char** argv);

// Called back by the runtime: runs the packaged application in a component
// instance and answers its result.
int RunMain(int argc, const char** argv);
// Output handlers given to the runtime: the application's standard output and
// standard error.
int PrintHandler(const char* text);
int ErrorHandler(const char* text);

// Finds the archive, checks it, binds the runtime and hands control to it.
// Only one launcher runs in a process: the runtime's call-backs reach it.
class Launcher {
  public:
    Launcher(Platform& platform, Reporter& reporter);
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // The main sequence; answers the exit code.
    int run(int argc, const char** argv);

    int runMain(int argc, const char** argv);
    int print(const char* text);
    int printError(const char* text);

  private:
    DumpSink dumpSink();
    std::string lastRuntimeError();
    bool initializeComponentInstance(void** instance);

    Platform& platform_;
    Reporter& reporter_;
    std::string executablePath_;
    std::string executableDirectory_;
    std::string archivePath_;
    bool embedded_ = false;
    DataBlock block_;
    // The block's texts as the runtime receives them: up to the first zero byte.
    std::string componentText_;
    std::string completeMessage_;
    std::string mainText_;
    std::optional<RuntimeBinding> runtime_;
    const RuntimeApi* api_ = nullptr;
};

}  // namespace runhost
