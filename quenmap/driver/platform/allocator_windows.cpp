#include "allocator.h"

namespace quenmap::platform {

// The process heap keeps what is freed by itself.
void keepFreedMemoryForTheRun() {}

}  // namespace quenmap::platform
