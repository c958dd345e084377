// How every native method judges its outcome: by the calling thread's own
// driver status, never by the process-wide snapshot.
#pragma once

#include <cstdint>

#include "ni488_binding.h"
#include "ni488_constants.h"

namespace busgate {

inline Ni488Binding& driver() {
    return processBinding();
}

// Two's complement negation without overflow: 0xDDDDDEAD becomes 572662099.
inline std::int32_t negated(int value) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value));
}

inline bool threadFailed() {
    return (driver().ThreadIbsta() & ni488::ERR) != 0;
}

inline std::int32_t negatedThreadError() {
    return negated(driver().ThreadIberr());
}

// 1 on success, -iberr on failure.
inline std::int32_t statusResult() {
    return threadFailed() ? negatedThreadError() : 1;
}

}  // namespace busgate
