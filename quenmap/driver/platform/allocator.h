// Allocator settings of the program's one short run.
#pragma once

namespace quenmap::platform {

// A run lasts milliseconds: memory freed between blocks is kept for the next
// block rather than handed back to the system, whose fresh pages a new
// process pays for page by page.
void keepFreedMemoryForTheRun();

}  // namespace quenmap::platform
