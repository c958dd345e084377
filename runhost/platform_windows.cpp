// The Windows side of the platform seam.
#include <windows.h>

#include <cstdio>

#include "platform.h"

namespace runhost {
namespace {

constexpr DWORD kExecutablePathCapacity = 2048;
constexpr SHORT kConsoleHeight = 500;

class WindowsPlatform : public StdioPlatform {
  public:
    const PathConventions& conventions() const override { return WindowsConventions(); }

    std::optional<std::string> executablePath() override {
        char path[kExecutablePathCapacity + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, kExecutablePathCapacity + 1);
        // A full buffer means the path was cut: not a path we can use.
        if (length == 0 || length > kExecutablePathCapacity) return std::nullopt;
        return std::string(path, length);
    }

    bool attachParentConsole() override {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            SetLastError(0);
            return false;
        }
        const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (GetConsoleScreenBufferInfo(output, &info)) {
            COORD size = info.dwSize;
            size.Y = kConsoleHeight;
            SetConsoleScreenBufferSize(output, size);
        }
        // A windowed program starts without usable C streams: bind them to the
        // console we just joined, unbuffered so lines appear at once.
        if (std::freopen("CONOUT$", "w", stdout) != nullptr)
            std::setvbuf(stdout, nullptr, _IONBF, 0);
        if (std::freopen("CONIN$", "r", stdin) != nullptr) std::setvbuf(stdin, nullptr, _IONBF, 0);
        if (std::freopen("CONOUT$", "w", stderr) != nullptr)
            std::setvbuf(stderr, nullptr, _IONBF, 0);
        return true;
    }

    void showMessageBox(const std::string& caption, const std::string& text) override {
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONWARNING);
    }

    void* loadLibrary(const std::string& path) override {
        return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    }

    void* findSymbol(void* library, const char* name) override {
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
    }

    std::string lastLibraryError() override { return "error " + std::to_string(GetLastError()); }
};

}  // namespace

std::unique_ptr<Platform> MakeHostPlatform() {
    return std::make_unique<WindowsPlatform>();
}

}  // namespace runhost
