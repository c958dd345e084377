// Loading the driver library at run time: the one place that knows how the
// operating system does it. Each function leaves its failure code for
// lastLibraryError().
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace busgate::platform {

using LibraryHandle = void*;

// Which driver files to try, and where the fallback one lives.
struct LibraryChoice {
    std::string primaryFile;        // loaded through the normal search order
    std::string fallbackFile;       // loaded from fallbackDirectory
    std::string fallbackDirectory;  // empty: the platform's own place for it
};

// The installation's driver files on this platform.
LibraryChoice defaultLibraryChoice();

// nullptr when the library cannot be loaded.
LibraryHandle loadLibrary(const std::string& path);
void freeLibrary(LibraryHandle library);
// nullptr when the library has no such export.
void* findSymbol(LibraryHandle library, const char* name);
// Full path of the fallback file; nothing when its directory cannot be read.
std::optional<std::string> fallbackLibraryPath(const LibraryChoice& choice);
// The operating system's code for the last failure of the calls above on this
// thread.
std::uint32_t lastLibraryError();

}  // namespace busgate::platform
