#pragma once

// A stand-in for the runtime library: it exports the runtime's entry points,
// records every call, fails where it is told to and calls back into the
// launcher as the runtime would. Loaded as a shared library it takes its
// settings from FAKE_NRT_* environment variables; linked into a test it is
// steered through FakeRuntimeSettings.

#include <set>
#include <string>
#include <vector>

namespace fake_runtime {

struct Settings {
    std::set<std::string> failing;  // entry point names that report failure
    int mainResult = 0;
    int optionCount = 2;
    std::string lastError = "fake runtime error";
    std::string printText;  // handed to the print handler by nrlMain_proxy
    std::string errorText;  // handed to the error handler by nrlMain_proxy
    std::string logPath;    // every call is appended here as a line
    // nrlWrite_proxy also writes to this process's own streams
    bool echoWrites = true;
};

// Settings of this process; the first use in a shared library reads the
// environment unless Reset() came first.
Settings& CurrentSettings();
// Fresh settings and an empty call list, the environment left unread.
void Reset();
// The calls so far, one line each.
const std::vector<std::string>& Calls();
// What the application wrote through nrlWrite_proxy, per stream.
const std::string& Written(int stream);
// The address of an exported entry point, for binding inside a test.
void* Symbol(const std::string& name);

}  // namespace fake_runtime
