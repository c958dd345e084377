#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace runhost {

// How paths and the runtime library look on one operating system.
struct PathConventions {
    char separator;                          // joins path pieces
    bool slashIsSeparator;                   // "/" counts as the separator too
    std::string searchVariable;              // the library search list variable
    std::string searchListSeparators;        // splits that variable
    std::vector<std::string> runtimeFolder;  // beside the executable
    std::string libraryPrefix;
    std::string librarySuffix;
};

const PathConventions& WindowsConventions();
const PathConventions& LinuxConventions();

// Everything the launcher needs from the operating system. The host sides live
// in platform_windows.cpp and platform_linux.cpp; tests use a simulated side.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual const PathConventions& conventions() const = 0;
    // The full path of the running executable; empty when it cannot be found.
    virtual std::optional<std::string> executablePath() = 0;
    // Attaches to the console of the parent process; false leaves us without one.
    virtual bool attachParentConsole() = 0;
    virtual void showMessageBox(const std::string& caption, const std::string& text) = 0;
    virtual void writeOutput(const std::string& text) = 0;
    virtual void writeError(const std::string& text) = 0;
    virtual std::optional<std::string> environmentVariable(const std::string& name) = 0;
    // Existence means the file's status can be read.
    virtual bool fileExists(const std::string& path) = 0;
    // Library loading: a null handle or symbol means failure, explained by
    // lastLibraryError().
    virtual void* loadLibrary(const std::string& path) = 0;
    virtual void* findSymbol(void* library, const char* name) = 0;
    virtual std::string lastLibraryError() = 0;
};

// The parts every host shares: C standard streams, environment and file status.
class StdioPlatform : public Platform {
  public:
    void writeOutput(const std::string& text) override;
    void writeError(const std::string& text) override;
    std::optional<std::string> environmentVariable(const std::string& name) override;
    bool fileExists(const std::string& path) override;
};

// The side of the operating system the program was built for.
std::unique_ptr<Platform> MakeHostPlatform();

}  // namespace runhost
