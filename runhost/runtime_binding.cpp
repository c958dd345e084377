#include <cstring>

#include "platform.h"
#include "runtime_api.h"

namespace runhost {

namespace {
template <typename Function>
void AssignSymbol(Function& target, void* symbol) {
    static_assert(sizeof(Function) == sizeof(void*), "entry points are plain code pointers");
    std::memcpy(&target, &symbol, sizeof target);
}
}  // namespace

RuntimeBinding::RuntimeBinding(Platform& platform, std::string libraryPath)
    : platform_(platform), libraryPath_(std::move(libraryPath)) {}

const RuntimeApi* RuntimeBinding::api() {
    if (!attempted_) {
        attempted_ = true;
        bound_ = bind();
    }
    return bound_ ? &api_ : nullptr;
}

bool RuntimeBinding::bind() {
    void* library = platform_.loadLibrary(libraryPath_);
    if (library == nullptr) {
        error_ = "Could not load " + libraryPath_ + ": " + platform_.lastLibraryError();
        return false;
    }
#define NRL_ENTRY_POINT(name, result, parameters)                                                \
    if (void* symbol = platform_.findSymbol(library, #name)) {                                   \
        AssignSymbol(api_.name, symbol);                                                         \
    } else {                                                                                     \
        error_ =                                                                                 \
            "Could not find " #name " in " + libraryPath_ + ": " + platform_.lastLibraryError(); \
        return false;                                                                            \
    }
#include "runtime_entry_points.def"
#undef NRL_ENTRY_POINT
    return true;
}

}  // namespace runhost
