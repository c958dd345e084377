// How the program's output files are best replaced on this platform.
#pragma once

namespace quenmap::platform {

// Whether an existing regular output file is overwritten in place and cut to the written
// length at the end, rather than emptied when it is opened. Emptying a file on Linux makes
// the file system free its blocks (with discard mounts, a device command the caller waits
// for) and write the new ones back when the file is closed.
bool overwriteOutputInPlace();

}  // namespace quenmap::platform
