#include <malloc.h>

#include "allocator.h"

namespace quenmap::platform {

void keepFreedMemoryForTheRun() {
    // Larger than any image the program handles; 16 MiB is within what the
    // allocator accepts as its mapping threshold on 32 and 64 bits.
    constexpr int kLarge = 16 << 20;
    mallopt(M_TRIM_THRESHOLD, kLarge);
    mallopt(M_MMAP_THRESHOLD, kLarge);
}

}  // namespace quenmap::platform
