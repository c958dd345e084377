#include <windows.h>

#include "dynamic_library.h"

namespace busgate::platform {

LibraryChoice defaultLibraryChoice() {
    return {"ni4882.dll", "gpib-32.dll", ""};
}

LibraryHandle loadLibrary(const std::string& path) {
    return reinterpret_cast<LibraryHandle>(LoadLibraryA(path.c_str()));
}

void freeLibrary(LibraryHandle library) {
    if (library != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

void* findSymbol(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

std::optional<std::string> fallbackLibraryPath(const LibraryChoice& choice) {
    std::string directory = choice.fallbackDirectory;
    if (directory.empty()) {
        char systemDirectory[MAX_PATH];
        const UINT length = GetSystemDirectoryA(systemDirectory, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return std::nullopt;
        directory.assign(systemDirectory, length);
    }
    return directory + "\\" + choice.fallbackFile;
}

std::uint32_t lastLibraryError() {
    return GetLastError();
}

}  // namespace busgate::platform
