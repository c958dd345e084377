#pragma once

#include <sys/stat.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace runhost_test {

// The platform as a test wants it: every output recorded in order, the
// environment and the executable path given, library files that exist only
// here, and symbols answered by a lookup function.
class SimulatedPlatform : public runhost::Platform {
  public:
    using SymbolLookup = void* (*)(const std::string& name);

    explicit SimulatedPlatform(const runhost::PathConventions& conventions)
        : conventions_(conventions) {}

    const runhost::PathConventions& conventions() const override { return conventions_; }
    std::optional<std::string> executablePath() override { return executable; }
    bool attachParentConsole() override { return hasParentConsole; }
    void showMessageBox(const std::string& caption, const std::string& text) override {
        events.push_back("box[" + caption + "]:" + text);
    }
    void writeOutput(const std::string& text) override { events.push_back("out:" + text); }
    void writeError(const std::string& text) override { events.push_back("err:" + text); }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        const auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    }
    bool fileExists(const std::string& path) override {
        probed.push_back(path);
        // Archives are real files in a temporary folder.
        struct stat status;
        return virtualFiles.count(path) != 0 || ::stat(path.c_str(), &status) == 0;
    }
    void* loadLibrary(const std::string& path) override {
        loaded.push_back(path);
        return loadableLibraries.count(path) != 0 ? this : nullptr;
    }
    void* findSymbol(void*, const char* name) override {
        return symbols != nullptr ? symbols(name) : nullptr;
    }
    std::string lastLibraryError() override { return "simulated load failure"; }

    std::optional<std::string> executable;
    bool hasParentConsole = true;
    std::map<std::string, std::string> environment;
    std::set<std::string> virtualFiles;
    std::set<std::string> loadableLibraries;
    SymbolLookup symbols = nullptr;

    std::vector<std::string> events;
    std::vector<std::string> probed;
    std::vector<std::string> loaded;

  private:
    const runhost::PathConventions& conventions_;
};

}  // namespace runhost_test
