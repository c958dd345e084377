#include "launcher.h"

#include <boost/algorithm/string/trim.hpp>
#include <cstring>

#include "launcher_paths.h"
#include "platform.h"
#include "reporter.h"
#include "runtime_search.h"

namespace runhost {

namespace {

// The runtime version this launcher is made for.
const char kMajorVersion[] = "7";
const char kMinorVersion[] = "14";
const char kUpdaterVersion[] = ".2";

const char kVerboseVariable[] = "PKFX_VERBOSE";

Launcher* activeLauncher = nullptr;

std::string RuntimeNotFoundText(const std::string& libraryName) {
    return std::string("Could not find version ") + kMajorVersion + "." + kMinorVersion +
           kUpdaterVersion + " of the NRT.\n" + "Attempting to load " + libraryName + ".\n" +
           "Please install the correct version of the NRT.\n" +
           "Contact your vendor if you do not have an installer for the NRT.";
}

}  // namespace

int RunLauncher(Platform& platform, int argc, const char** argv) {
    Reporter reporter(platform, platform.environmentVariable(kVerboseVariable).has_value());
    if (platform.attachParentConsole()) reporter.useConsole();
    Launcher launcher(platform, reporter);
    return launcher.run(argc, argv);
}

int RunMain(int argc, const char** argv) {
    if (activeLauncher == nullptr) return kLauncherFailure;
    return activeLauncher->runMain(argc, argv);
}

int PrintHandler(const char* text) {
    if (activeLauncher == nullptr) return 0;
    return activeLauncher->print(text);
}

int ErrorHandler(const char* text) {
    if (activeLauncher == nullptr) return 0;
    return activeLauncher->printError(text);
}

Launcher::Launcher(Platform& platform, Reporter& reporter)
    : platform_(platform), reporter_(reporter) {
    activeLauncher = this;
}

Launcher::~Launcher() {
    if (activeLauncher == this) activeLauncher = nullptr;
}

DumpSink Launcher::dumpSink() {
    if (!reporter_.verbose()) return DumpSink();
    return [this](const std::string& dump) { reporter_.verboseText(dump); };
}

std::string Launcher::lastRuntimeError() {
    const char* text = api_->nrlGetLastErrorMessage_proxy();
    return text != nullptr ? text : "";
}

int Launcher::run(int argc, const char** argv) {
    const PathConventions& conventions = platform_.conventions();

    const std::optional<std::string> executablePath = platform_.executablePath();
    if (!executablePath) {
        reporter_.reportError("Could not find the current executable file.");
        return kLauncherFailure;
    }
    executablePath_ = *executablePath;
    reporter_.status("Executable file full name=" + executablePath_);
    executableDirectory_ = ExecutableDirectory(executablePath_, conventions);

    embedded_ = IsEmbedded(executablePath_, dumpSink());
    reporter_.status(std::string("PKF is embedded=") + (embedded_ ? "true" : "false"));

    archivePath_ = embedded_ ? executablePath_ : ArchivePathBeside(executablePath_, conventions);
    if (!platform_.fileExists(archivePath_)) {
        reporter_.reportError("Cannot find PKF archive " + archivePath_);
        reporter_.reportError("Error initializing PKF Archive.");
        return kLauncherFailure;
    }
    reporter_.status("PKF file name=" + archivePath_);

    block_ = ReadDataBlock(archivePath_, dumpSink());
    if (!block_.valid || block_.majorVersion != kMajorVersion ||
        block_.minorVersion != kMinorVersion) {
        reporter_.reportError("Your application is not a valid Numora compiled application.");
        return kLauncherFailure;
    }
    componentText_ = UpToFirstZero(block_.componentText);
    completeMessage_ = UpToFirstZero(block_.completeMessage);
    mainText_ = UpToFirstZero(block_.mainText);

    const RuntimeLocation location =
        LocateRuntimeLibrary(block_, executableDirectory_, platform_, reporter_);
    if (!location.found) {
        reporter_.useMessageBoxForGood();
        reporter_.reportError(RuntimeNotFoundText(location.libraryName));
        return kLauncherFailure;
    }
    // Bound from where the search found it, on the first call below.
    runtime_.emplace(platform_, location.libraryPath);

    const std::string startMessage = UpToFirstZero(block_.startMessage);
    if (!startMessage.empty()) {
        reporter_.line(std::string("Initializing Numora Compiler Runtime version ") +
                       kMajorVersion + "." + kMinorVersion + kUpdaterVersion);
        const std::string trimmed = boost::algorithm::trim_copy(startMessage);
        if (!trimmed.empty()) reporter_.reportStatus(trimmed, "Starting Up");
    }

    api_ = runtime_->api();
    if (api_ == nullptr) {
        // Without this check a library that cannot be bound would end the
        // process with no word to the user.
        reporter_.reportError(runtime_->error());
        return kLauncherFailure;
    }
    if (!api_->nrlnrtInitialize_proxy()) {
        reporter_.reportError("nrlnrt initialization failed");
        return kLauncherFailure;
    }

    const char** options = nullptr;
    const int optionCount = api_->getInitOptionsFromPkfFile_proxy(&options, archivePath_.c_str());
    const std::size_t count = optionCount > 0 ? static_cast<std::size_t>(optionCount) : 0;
    const bool applicationReady = api_->nrlInitializeApplication_proxy(options, count) != 0;
    api_->nrlFreeStrArray_proxy(options, count);
    if (!applicationReady) {
        reporter_.reportError("Application initialization failed.");
        reporter_.reportError(lastRuntimeError());
        return kLauncherFailure;
    }
    reporter_.status("nrlInitializeApplication completed");
    return api_->nrlRunMain_proxy(&RunMain, argc, argv);
}

bool Launcher::initializeComponentInstance(void** instance) {
    if (embedded_) {
        void* stream = api_->nrlGetEmbeddedPkfStream_proxy(nullptr, block_.embeddedValue);
        const bool initialized =
            api_->nrlInitializeComponentInstanceEmbedded_proxy(
                instance, &ErrorHandler, &PrintHandler, stream, block_.embeddedValue) != 0;
        api_->nrlDestroyStream_proxy(stream);
        return initialized;
    }
    return api_->nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(
               instance, executableDirectory_.c_str(), componentText_.c_str(), 0, &ErrorHandler,
               &PrintHandler) != 0;
}

int Launcher::runMain(int argc, const char** argv) {
    if (api_ == nullptr) return kLauncherFailure;
    void* instance = nullptr;
    if (!initializeComponentInstance(&instance)) {
        reporter_.reportError("Initialize component instance failed.");
        reporter_.reportError(lastRuntimeError());
        return kLauncherFailure;
    }

    int result = kLauncherFailure;
    const int userData =
        api_->nrlSetCmdLineUserData_proxy(api_->nrlGetID_proxy(instance), argc, argv);
    if (userData == -1) {
        reporter_.reportError(lastRuntimeError());
    } else {
        if (!completeMessage_.empty()) {
            print(completeMessage_.c_str());
            api_->nrlWrite_proxy(1, "\n", 1);
        }
        result = api_->nrlMain_proxy(instance, userData, argv, mainText_.c_str(), block_.mainFlag);
    }

    if (instance != nullptr && !api_->nrlTerminateInstance_proxy(&instance)) {
        reporter_.reportError(lastRuntimeError());
    }
    if (!api_->nrlTerminateApplication_proxy()) reporter_.reportError(lastRuntimeError());
    return result;
}

int Launcher::print(const char* text) {
    if (api_ == nullptr) return 0;
    if (text == nullptr) text = "";
    return api_->nrlWrite_proxy(1, text, std::strlen(text));
}

int Launcher::printError(const char* text) {
    if (api_ == nullptr) return 0;
    if (text == nullptr) text = "";
    const std::size_t length = std::strlen(text);
    int written = api_->nrlWrite_proxy(2, text, length);
    if (length > 0 && text[length - 1] != '\n') written += api_->nrlWrite_proxy(2, "\n", 1);
    return written;
}

}  // namespace runhost
