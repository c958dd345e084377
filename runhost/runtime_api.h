#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" {
typedef int (*nrlMainFcn)(int argc, const char** argv);
typedef int (*nrlOutputHandlerFcn)(const char* text);
}

namespace runhost {

class Platform;

// One pointer per runtime entry point, filled when the runtime is bound.
struct RuntimeApi {
    using size_t = std::size_t;
    using uint32_t = std::uint32_t;
    using intptr_t = std::intptr_t;
#define NRL_ENTRY_POINT(name, result, parameters) result(*name) parameters = nullptr;
#include "runtime_entry_points.def"
#undef NRL_ENTRY_POINT
};

// Binds the runtime library on first use and keeps it bound for the life of
// the process.
class RuntimeBinding {
  public:
    RuntimeBinding(Platform& platform, std::string libraryPath);

    // The bound entry points, or null when the library or one of its entry
    // points could not be bound (error() then says why).
    const RuntimeApi* api();
    const std::string& error() const { return error_; }
    const std::string& libraryPath() const { return libraryPath_; }

  private:
    bool bind();

    Platform& platform_;
    std::string libraryPath_;
    RuntimeApi api_;
    bool attempted_ = false;
    bool bound_ = false;
    std::string error_;
};

}  // namespace runhost
