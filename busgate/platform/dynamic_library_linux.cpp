#include <dlfcn.h>

#include "dynamic_library.h"

namespace busgate::platform {
namespace {
// The codes Windows gives for a module that cannot be found and a missing
// procedure, so that callers see the same numbers on both platforms.
constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kProcedureNotFound = 127;

thread_local std::uint32_t lastError = 0;
}  // namespace

LibraryChoice defaultLibraryChoice() {
    return {"libni4882.so", "libgpib-32.so", ""};
}

LibraryHandle loadLibrary(const std::string& path) {
    LibraryHandle library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) lastError = kModuleNotFound;
    return library;
}

void freeLibrary(LibraryHandle library) {
    if (library != nullptr) dlclose(library);
}

void* findSymbol(LibraryHandle library, const char* name) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) lastError = kProcedureNotFound;
    return symbol;
}

std::optional<std::string> fallbackLibraryPath(const LibraryChoice& choice) {
    // Without a directory the fallback goes through dlopen's normal search too.
    if (choice.fallbackDirectory.empty()) return choice.fallbackFile;
    return choice.fallbackDirectory + "/" + choice.fallbackFile;
}

std::uint32_t lastLibraryError() {
    return lastError;
}

}  // namespace busgate::platform
