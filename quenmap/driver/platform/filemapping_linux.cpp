#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "filemapping.h"

namespace quenmap::platform {

namespace {

// A file cut short by another program while it is mapped raises SIGBUS on
// the pages past its new end. The handler puts a zero page in their place,
// so the readers see zero bytes and report bad text instead of the process
// ending. Faults outside the mapped files go to the previous handler.
struct GuardedRange {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
};

constexpr int kGuardedRanges = 4;
GuardedRange guardedRanges[kGuardedRanges];
int guardUsers = 0;
std::uintptr_t pageSize = 0;
struct sigaction previousBusAction;

void onBusError(int, siginfo_t* info, void*) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (const GuardedRange& range : guardedRanges) {
        if (address < range.begin.load() || address >= range.end.load()) continue;
        void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED) {
            return;
        }
    }
    // Not one of ours: the faulting access runs again under the previous action.
    ::sigaction(SIGBUS, &previousBusAction, nullptr);
}

bool guard(const char* data, std::size_t size) {
    for (GuardedRange& range : guardedRanges) {
        if (range.end.load() != 0) continue;
        if (guardUsers++ == 0) {
            pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
            struct sigaction action {};
            action.sa_sigaction = onBusError;
            action.sa_flags = SA_SIGINFO;
            sigemptyset(&action.sa_mask);
            ::sigaction(SIGBUS, &action, &previousBusAction);
        }
        range.begin.store(reinterpret_cast<std::uintptr_t>(data));
        range.end.store(reinterpret_cast<std::uintptr_t>(data) + size);
        return true;
    }
    return false;
}

void unguard(const char* data) {
    for (GuardedRange& range : guardedRanges) {
        if (range.begin.load() != reinterpret_cast<std::uintptr_t>(data)) continue;
        range.end.store(0);
        range.begin.store(0);
        if (--guardUsers == 0) ::sigaction(SIGBUS, &previousBusAction, nullptr);
        return;
    }
}

}  // namespace

FileMapping mapWholeFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return {};
    struct stat status {};
    void* mapped = MAP_FAILED;
    std::size_t size = 0;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        size = static_cast<std::size_t>(status.st_size);
        // Populated at once: a fresh process pays dearly for faulting in
        // page after page.
        mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    }
    ::close(descriptor);
    if (mapped == MAP_FAILED) return {};
    const char* data = static_cast<const char*>(mapped);
    if (!guard(data, size)) {
        ::munmap(mapped, size);
        return {};
    }
    return {data, size};
}

void unmapFile(const FileMapping& mapping) {
    if (mapping.data == nullptr) return;
    unguard(mapping.data);
    ::munmap(const_cast<char*>(mapping.data), mapping.size);
}

}  // namespace quenmap::platform
