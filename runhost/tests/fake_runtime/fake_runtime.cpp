#include "fake_runtime.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern "C" {
typedef int (*nrlMainFcn)(int argc, const char** argv);
typedef int (*nrlOutputHandlerFcn)(const char* text);
}

namespace fake_runtime {
namespace {

struct State {
    bool configured = false;
    Settings settings;
    std::vector<std::string> calls;
    std::string written[3];
    nrlOutputHandlerFcn errorHandler = nullptr;
    nrlOutputHandlerFcn printHandler = nullptr;
    const char** options = nullptr;
    int instanceToken = 0;
    int streamToken = 0;
};

State& TheState() {
    static State state;
    return state;
}

std::string Environment(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

Settings& Configured() {
    State& state = TheState();
    if (!state.configured) {
        state.configured = true;
        Settings& settings = state.settings;
        std::stringstream failing(Environment("FAKE_NRT_FAIL", ""));
        for (std::string name; std::getline(failing, name, ',');) {
            if (!name.empty()) settings.failing.insert(name);
        }
        settings.mainResult = std::atoi(Environment("FAKE_NRT_MAIN_RESULT", "0").c_str());
        settings.optionCount = std::atoi(Environment("FAKE_NRT_OPTION_COUNT", "2").c_str());
        settings.lastError = Environment("FAKE_NRT_LAST_ERROR", settings.lastError);
        settings.printText = Environment("FAKE_NRT_PRINT", "");
        settings.errorText = Environment("FAKE_NRT_ERROR", "");
        settings.logPath = Environment("FAKE_NRT_LOG", "");
    }
    return state.settings;
}

// Line feeds shown as "\n" so that one call stays one line.
std::string Visible(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (c == '\n') {
            shown += "\\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Arguments(int argc, const char** argv) {
    std::string joined = "argc=" + std::to_string(argc) + ",args=";
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (i > 1) joined += "|";
        joined += argv[i] != nullptr ? argv[i] : "(null)";
    }
    return joined;
}

void Record(const std::string& call) {
    const Settings& settings = Configured();
    TheState().calls.push_back(call);
    if (settings.logPath.empty()) return;
    if (std::FILE* log = std::fopen(settings.logPath.c_str(), "ab")) {
        std::fputs((call + "\n").c_str(), log);
        std::fclose(log);
    }
}

bool Succeeds(const char* name) {
    return Configured().failing.count(name) == 0;
}

void* InstanceHandle() {
    return &TheState().instanceToken;
}
void* StreamHandle() {
    return &TheState().streamToken;
}

std::string Instance(const void* instance) {
    if (instance == nullptr) return "null";
    return instance == InstanceHandle() ? "fake" : "other";
}

}  // namespace

Settings& CurrentSettings() {
    return Configured();
}

void Reset() {
    State& state = TheState();
    state = State();
    state.configured = true;
}

const std::vector<std::string>& Calls() {
    return TheState().calls;
}

const std::string& Written(int stream) {
    return TheState().written[stream == 2 ? 2 : 1];
}

}  // namespace fake_runtime

using fake_runtime::Instance;
using fake_runtime::Record;
using fake_runtime::Succeeds;
using fake_runtime::TheState;

extern "C" {

int nrlnrtInitialize_proxy(void) {
    Record("nrlnrtInitialize_proxy()");
    return Succeeds("nrlnrtInitialize_proxy") ? 1 : 0;
}

int getInitOptionsFromPkfFile_proxy(const char*** options, const char* archivePath) {
    Record(std::string("getInitOptionsFromPkfFile_proxy(archive=") +
           (archivePath != nullptr ? archivePath : "(null)") + ")");
    static const char* const kOptions[] = {"-fake-option-1", "-fake-option-2", "-fake-option-3"};
    const int count = fake_runtime::Configured().optionCount;
    TheState().options = const_cast<const char**>(kOptions);
    if (options != nullptr) *options = TheState().options;
    return count;
}

int nrlInitializeApplication_proxy(const char** options, size_t count) {
    const bool ours = options == TheState().options;
    Record("nrlInitializeApplication_proxy(count=" + std::to_string(count) +
           ",options=" + (ours ? "given" : "other") + ")");
    return Succeeds("nrlInitializeApplication_proxy") ? 1 : 0;
}

void nrlFreeStrArray_proxy(const char** options, size_t count) {
    const bool ours = options == TheState().options;
    Record("nrlFreeStrArray_proxy(count=" + std::to_string(count) +
           ",options=" + (ours ? "given" : "other") + ")");
}

int nrlRunMain_proxy(nrlMainFcn runMain, int argc, const char** argv) {
    Record("nrlRunMain_proxy(" + fake_runtime::Arguments(argc, argv) + ")");
    if (runMain == nullptr) return -100;
    return runMain(argc, argv);
}

void* nrlGetEmbeddedPkfStream_proxy(void* handle, uint32_t embeddedValue) {
    Record(std::string("nrlGetEmbeddedPkfStream_proxy(handle=") + (handle ? "set" : "null") +
           ",value=" + std::to_string(embeddedValue) + ")");
    return fake_runtime::StreamHandle();
}

int nrlInitializeComponentInstanceEmbedded_proxy(void** instance, nrlOutputHandlerFcn errorHandler,
                                                 nrlOutputHandlerFcn printHandler, void* stream,
                                                 uint32_t embeddedValue) {
    Record(std::string("nrlInitializeComponentInstanceEmbedded_proxy(stream=") +
           (stream == fake_runtime::StreamHandle() ? "given" : "other") +
           ",value=" + std::to_string(embeddedValue) + ")");
    TheState().errorHandler = errorHandler;
    TheState().printHandler = printHandler;
    if (!Succeeds("nrlInitializeComponentInstanceEmbedded_proxy")) return 0;
    if (instance != nullptr) *instance = fake_runtime::InstanceHandle();
    return 1;
}

void nrlDestroyStream_proxy(void* stream) {
    Record(std::string("nrlDestroyStream_proxy(stream=") +
           (stream == fake_runtime::StreamHandle() ? "given" : "other") + ")");
}

int nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(void** instance, const char* exeDir,
                                                              const char* componentText,
                                                              int reserved,
                                                              nrlOutputHandlerFcn errorHandler,
                                                              nrlOutputHandlerFcn printHandler) {
    Record(std::string("nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy(exeDir=") +
           (exeDir != nullptr ? exeDir : "(null)") +
           ",component=" + (componentText != nullptr ? componentText : "(null)") +
           ",reserved=" + std::to_string(reserved) + ")");
    TheState().errorHandler = errorHandler;
    TheState().printHandler = printHandler;
    if (!Succeeds("nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy")) return 0;
    if (instance != nullptr) *instance = fake_runtime::InstanceHandle();
    return 1;
}

intptr_t nrlGetID_proxy(void* instance) {
    Record("nrlGetID_proxy(instance=" + Instance(instance) + ")");
    return 4242;
}

int nrlSetCmdLineUserData_proxy(intptr_t id, int argc, const char** argv) {
    Record("nrlSetCmdLineUserData_proxy(id=" + std::to_string(id) + "," +
           fake_runtime::Arguments(argc, argv) + ")");
    return Succeeds("nrlSetCmdLineUserData_proxy") ? 77 : -1;
}

int nrlWrite_proxy(int stream, const void* text, size_t length) {
    const std::string written(static_cast<const char*>(text), length);
    Record("nrlWrite_proxy(stream=" + std::to_string(stream) +
           ",text=" + fake_runtime::Visible(written) + ")");
    TheState().written[stream == 2 ? 2 : 1] += written;
    if (!fake_runtime::Configured().echoWrites) return static_cast<int>(length);
    std::FILE* out = stream == 2 ? stderr : stdout;
    std::fwrite(written.data(), 1, written.size(), out);
    std::fflush(out);
    return static_cast<int>(length);
}

int nrlMain_proxy(void* instance, int userData, const char** argv, const char* mainText,
                  uint32_t mainFlag) {
    std::string args;
    for (int i = 1; argv != nullptr && argv[i] != nullptr; ++i) {
        if (i > 1) args += "|";
        args += argv[i];
    }
    Record("nrlMain_proxy(instance=" + Instance(instance) +
           ",userData=" + std::to_string(userData) + ",args=" + args +
           ",mainText=" + (mainText != nullptr ? mainText : "(null)") +
           ",mainFlag=" + std::to_string(mainFlag) + ")");
    const fake_runtime::Settings& settings = fake_runtime::Configured();
    int handled = 0;
    if (!settings.printText.empty() && TheState().printHandler != nullptr) {
        handled += TheState().printHandler(settings.printText.c_str());
    }
    if (!settings.errorText.empty() && TheState().errorHandler != nullptr) {
        handled += TheState().errorHandler(settings.errorText.c_str());
    }
    if (handled != 0) Record("handlers answered " + std::to_string(handled));
    return settings.mainResult;
}

int nrlTerminateInstance_proxy(void** instance) {
    Record("nrlTerminateInstance_proxy(instance=" +
           Instance(instance != nullptr ? *instance : nullptr) + ")");
    if (!Succeeds("nrlTerminateInstance_proxy")) return 0;
    if (instance != nullptr) *instance = nullptr;
    return 1;
}

int nrlTerminateApplication_proxy(void) {
    Record("nrlTerminateApplication_proxy()");
    return Succeeds("nrlTerminateApplication_proxy") ? 1 : 0;
}

const char* nrlGetLastErrorMessage_proxy(void) {
    Record("nrlGetLastErrorMessage_proxy()");
    return fake_runtime::Configured().lastError.c_str();
}

}  // extern "C"

namespace fake_runtime {

void* Symbol(const std::string& name) {
    struct Entry {
        const char* name;
        void* address;
    };
#define FAKE_ENTRY(function) \
    { #function, reinterpret_cast < void*>(&function) }
    static const Entry kEntries[] = {
        FAKE_ENTRY(nrlnrtInitialize_proxy),
        FAKE_ENTRY(getInitOptionsFromPkfFile_proxy),
        FAKE_ENTRY(nrlInitializeApplication_proxy),
        FAKE_ENTRY(nrlFreeStrArray_proxy),
        FAKE_ENTRY(nrlRunMain_proxy),
        FAKE_ENTRY(nrlGetEmbeddedPkfStream_proxy),
        FAKE_ENTRY(nrlInitializeComponentInstanceEmbedded_proxy),
        FAKE_ENTRY(nrlDestroyStream_proxy),
        FAKE_ENTRY(nrlInitializeComponentInstanceNonEmbeddedStandalone_proxy),
        FAKE_ENTRY(nrlGetID_proxy),
        FAKE_ENTRY(nrlSetCmdLineUserData_proxy),
        FAKE_ENTRY(nrlWrite_proxy),
        FAKE_ENTRY(nrlMain_proxy),
        FAKE_ENTRY(nrlTerminateInstance_proxy),
        FAKE_ENTRY(nrlTerminateApplication_proxy),
        FAKE_ENTRY(nrlGetLastErrorMessage_proxy),
    };
#undef FAKE_ENTRY
    for (const Entry& entry : kEntries) {
        if (name == entry.name) return entry.address;
    }
    return nullptr;
}

}  // namespace fake_runtime
