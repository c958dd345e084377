// Run-time binding of the NI-488.2 driver library: one wrapper per entry point,
// each looked up by name on first use, and a snapshot of the driver's status
// after every call.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "dynamic_library.h"
#include "ni488_abi.h"

namespace busgate {

enum class BindingMode { Unbound, Ni4882, Gpib32 };

struct StatusSnapshot {
    std::int32_t ibsta = 0;
    std::int32_t iberr = 0;
    std::int32_t ibcnt = 0;
    std::int32_t ibcntl = 0;
    bool bindingFailed = false;
};

class Ni488Binding {
  public:
    // What the per-thread status functions answer when they cannot be called;
    // it has the ERR bit set.
    static constexpr std::uint32_t kThreadStatusUnavailable = 0xDDDDDEADu;

    explicit Ni488Binding(platform::LibraryChoice choice);
    ~Ni488Binding();
    Ni488Binding(const Ni488Binding&) = delete;
    Ni488Binding& operator=(const Ni488Binding&) = delete;

#define NI488_STATUS_FUNCTION(name, parameters, arguments) int name parameters;
#define NI488_ROUTED_FUNCTION(name, parameters, arguments) int name parameters;
#define NI488_DESCRIPTOR_FUNCTION(name, parameters, arguments) int name parameters;
#define NI488_ROUTINE(name, parameters, arguments) void name parameters;
#define NI488_THREAD_STATUS(name) int name();
#include "ni488_entry_points.def"

    // The layer's own status readers: the snapshot while binding has failed,
    // otherwise the bound library's current values.
    int Ibsta();
    int Iberr();
    int Ibcnt();

    StatusSnapshot snapshot() const;
    BindingMode mode() const {
        return mode_.load();
    }

  private:
    enum class EntryPoint : std::size_t {
#define NI488_STATUS_FUNCTION(name, parameters, arguments) name,
#define NI488_ROUTED_FUNCTION(name, parameters, arguments) name,
#define NI488_DESCRIPTOR_FUNCTION(name, parameters, arguments) name,
#define NI488_ROUTINE(name, parameters, arguments) name,
#define NI488_THREAD_STATUS(name) name,
#include "ni488_entry_points.def"
        Count
    };

    using AccessorFunction = int(NI488_CALL*)();

    void* resolve(EntryPoint entry, const char* name);
    bool bindLocked();
    bool adoptLibrary(platform::LibraryHandle library, BindingMode mode,
                      const char* const names[3]);
    void recordFailure(std::uint32_t systemError);
    void takeSnapshot();
    int readStatus(int which);

    platform::LibraryChoice choice_;
    std::mutex bindingMutex_;
    platform::LibraryHandle module_ = nullptr;
    std::atomic<BindingMode> mode_{BindingMode::Unbound};
    std::atomic<void*> entries_[static_cast<std::size_t>(EntryPoint::Count)] = {};
    // Ibsta/Iberr/Ibcnt functions, or user_ibsta/user_iberr/user_ibcntl variables.
    void* statusAccessors_[3] = {};

    std::atomic<std::int32_t> ibsta_{0};
    std::atomic<std::int32_t> iberr_{0};
    std::atomic<std::int32_t> ibcnt_{0};
    std::atomic<std::int32_t> ibcntl_{0};
    std::atomic<bool> bindingFailed_{false};
};

// The binding the adaptor uses, to the installation's driver files.
Ni488Binding& processBinding();

}  // namespace busgate
