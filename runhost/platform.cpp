#include "platform.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

namespace runhost {

const PathConventions& WindowsConventions() {
    static const PathConventions conventions{'\\', true,  "PATH", ";", {"runtime", "win32"},
                                             "",   ".dll"};
    return conventions;
}

const PathConventions& LinuxConventions() {
    static const PathConventions conventions{
        '/', false, "LD_LIBRARY_PATH", ":", {"runtime", "linux"}, "lib", ".so"};
    return conventions;
}

namespace {
void WriteAndFlush(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    // The runtime writes through its own buffers; flushing keeps the order.
    std::fflush(stream);
}
}  // namespace

void StdioPlatform::writeOutput(const std::string& text) {
    WriteAndFlush(stdout, text);
}

void StdioPlatform::writeError(const std::string& text) {
    WriteAndFlush(stderr, text);
}

std::optional<std::string> StdioPlatform::environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool StdioPlatform::fileExists(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

}  // namespace runhost
