#include "ni488_binding.h"

#include <utility>

#include "ni488_constants.h"

namespace busgate {
namespace {
constexpr const char* kAccessorNames[3] = {"Ibsta", "Iberr", "Ibcnt"};
constexpr const char* kVariableNames[3] = {"user_ibsta", "user_iberr", "user_ibcntl"};
enum StatusIndex { kStatus = 0, kError = 1, kCount = 2 };

template <typename Function>
Function asFunction(void* address) {
    return reinterpret_cast<Function>(address);
}
}  // namespace

Ni488Binding::Ni488Binding(platform::LibraryChoice choice) : choice_(std::move(choice)) {}

Ni488Binding::~Ni488Binding() {
    platform::freeLibrary(module_);
}

void* Ni488Binding::resolve(EntryPoint entry, const char* name) {
    std::atomic<void*>& slot = entries_[static_cast<std::size_t>(entry)];
    if (void* cached = slot.load(std::memory_order_acquire)) return cached;

    // Binding and look-ups are serialised so that two threads never load the
    // library twice or see a half-bound state.
    std::lock_guard<std::mutex> lock(bindingMutex_);
    if (void* cached = slot.load(std::memory_order_acquire)) return cached;
    if (module_ == nullptr && !bindLocked()) return nullptr;
    void* address = platform::findSymbol(module_, name);
    if (address == nullptr) {
        recordFailure(platform::lastLibraryError());
        return nullptr;
    }
    slot.store(address, std::memory_order_release);
    return address;
}

bool Ni488Binding::adoptLibrary(platform::LibraryHandle library, BindingMode mode,
                                const char* const names[3]) {
    void* found[3] = {};
    for (int i = 0; i < 3; ++i) {
        found[i] = platform::findSymbol(library, names[i]);
        if (found[i] == nullptr) {
            const std::uint32_t error = platform::lastLibraryError();
            platform::freeLibrary(library);
            recordFailure(error);
            return false;
        }
    }
    for (int i = 0; i < 3; ++i) statusAccessors_[i] = found[i];
    module_ = library;
    mode_.store(mode);
    return true;
}

bool Ni488Binding::bindLocked() {
    // A primary file without its status accessors is an error of its own: the
    // fallback is only for installations that do not have the primary file.
    if (platform::LibraryHandle primary = platform::loadLibrary(choice_.primaryFile)) {
        return adoptLibrary(primary, BindingMode::Ni4882, kAccessorNames);
    }
    const std::optional<std::string> fallbackPath = platform::fallbackLibraryPath(choice_);
    if (!fallbackPath) {
        recordFailure(platform::lastLibraryError());
        return false;
    }
    platform::LibraryHandle fallback = platform::loadLibrary(*fallbackPath);
    if (fallback == nullptr) {
        recordFailure(platform::lastLibraryError());
        return false;
    }
    return adoptLibrary(fallback, BindingMode::Gpib32, kVariableNames);
}

void Ni488Binding::recordFailure(std::uint32_t systemError) {
    ibsta_ = ni488::ERR;
    iberr_ = ni488::EDVR;
    ibcnt_ = static_cast<std::int32_t>(systemError);
    ibcntl_ = static_cast<std::int32_t>(systemError);
    bindingFailed_ = true;
}

int Ni488Binding::readStatus(int which) {
    if (mode_.load() == BindingMode::Ni4882) {
        return asFunction<AccessorFunction>(statusAccessors_[which])();
    }
    // user_ibcntl is a long in the driver; only its 32-bit value is used.
    if (which == kCount) return static_cast<int>(*static_cast<long*>(statusAccessors_[which]));
    return *static_cast<int*>(statusAccessors_[which]);
}

void Ni488Binding::takeSnapshot() {
    bindingFailed_ = false;
    ibsta_ = readStatus(kStatus);
    iberr_ = readStatus(kError);
    ibcnt_ = readStatus(kCount);
    ibcntl_ = ibcnt_.load();
}

int Ni488Binding::Ibsta() {
    if (bindingFailed_ || mode_.load() == BindingMode::Unbound) return ibsta_;
    return readStatus(kStatus);
}

int Ni488Binding::Iberr() {
    if (bindingFailed_ || mode_.load() == BindingMode::Unbound) return iberr_;
    return readStatus(kError);
}

int Ni488Binding::Ibcnt() {
    if (bindingFailed_ || mode_.load() == BindingMode::Unbound) return ibcnt_;
    return readStatus(kCount);
}

StatusSnapshot Ni488Binding::snapshot() const {
    StatusSnapshot result;
    result.ibsta = ibsta_;
    result.iberr = iberr_;
    result.ibcnt = ibcnt_;
    result.ibcntl = ibcntl_;
    result.bindingFailed = bindingFailed_;
    return result;
}

#define NI488_STATUS_FUNCTION(name, parameters, arguments)                            \
    int Ni488Binding::name parameters {                                               \
        using Function = int(NI488_CALL*) parameters;                                 \
        const auto function = asFunction<Function>(resolve(EntryPoint::name, #name)); \
        if (function == nullptr) return ibsta_;                                       \
        const int result = function arguments;                                        \
        takeSnapshot();                                                               \
        return result;                                                                \
    }
#define NI488_ROUTED_FUNCTION(name, parameters, arguments)
#define NI488_DESCRIPTOR_FUNCTION(name, parameters, arguments)                        \
    int Ni488Binding::name parameters {                                               \
        using Function = int(NI488_CALL*) parameters;                                 \
        const auto function = asFunction<Function>(resolve(EntryPoint::name, #name)); \
        if (function == nullptr) return -1;                                           \
        const int result = function arguments;                                        \
        takeSnapshot();                                                               \
        return result;                                                                \
    }
#define NI488_ROUTINE(name, parameters, arguments)                                    \
    void Ni488Binding::name parameters {                                              \
        using Function = void(NI488_CALL*) parameters;                                \
        const auto function = asFunction<Function>(resolve(EntryPoint::name, #name)); \
        if (function == nullptr) return;                                              \
        function arguments;                                                           \
        takeSnapshot();                                                               \
    }
#define NI488_THREAD_STATUS(name)                                                             \
    int Ni488Binding::name() {                                                                \
        const auto function = asFunction<AccessorFunction>(resolve(EntryPoint::name, #name)); \
        if (function == nullptr) return static_cast<int>(kThreadStatusUnavailable);           \
        return function();                                                                    \
    }
#include "ni488_entry_points.def"

int Ni488Binding::ibconfig(int ud, int option, int value) {
    using Function = int(NI488_CALL*)(int, int, int);
    // Looking ibconfig up binds the library, so the mode is known below.
    const auto function = asFunction<Function>(resolve(EntryPoint::ibconfig, "ibconfig"));
    // The gpib-32 file takes the end-of-string setting through ibeos only.
    if (option == ni488::IbcEOS && mode_.load() == BindingMode::Gpib32) return ibeos(ud, value);
    if (function == nullptr) return ibsta_;
    const int result = function(ud, option, value);
    takeSnapshot();
    return result;
}

Ni488Binding& processBinding() {
    static Ni488Binding binding(platform::defaultLibraryChoice());
    return binding;
}

}  // namespace busgate
