// The Linux side of the platform seam.
#include <dlfcn.h>
#include <unistd.h>

#include "platform.h"

namespace runhost {
namespace {

constexpr std::size_t kExecutablePathCapacity = 2048;

class LinuxPlatform : public StdioPlatform {
  public:
    const PathConventions& conventions() const override { return LinuxConventions(); }

    std::optional<std::string> executablePath() override {
        char path[kExecutablePathCapacity + 1] = {};
        const ssize_t length = ::readlink("/proc/self/exe", path, kExecutablePathCapacity + 1);
        if (length <= 0 || static_cast<std::size_t>(length) > kExecutablePathCapacity) {
            return std::nullopt;
        }
        return std::string(path, static_cast<std::size_t>(length));
    }

    // There is no console to attach to: both reporting modes end on standard error.
    bool attachParentConsole() override { return false; }

    void showMessageBox(const std::string& caption, const std::string& text) override {
        writeError(caption + ":" + text + "\n");
    }

    void* loadLibrary(const std::string& path) override {
        return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }

    void* findSymbol(void* library, const char* name) override { return ::dlsym(library, name); }

    std::string lastLibraryError() override {
        const char* error = ::dlerror();
        return error != nullptr ? error : "";
    }
};

}  // namespace

std::unique_ptr<Platform> MakeHostPlatform() {
    return std::make_unique<LinuxPlatform>();
}

}  // namespace runhost
