#pragma once
// What quenview needs of the operating system, one side per platform.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenview::platform {

// The SHA-256 digest of the bytes as 64 lower-case hex digits; empty when the
// system's hash service fails.
std::string sha256Hex(const std::uint8_t* data, std::size_t size);

// Standard output takes bytes as they are (no "\r\n" for "\n" on Windows), so
// that a report written with "-o -" is the same as one written to a file.
void useBinaryStandardOutput();

// Reserves room for about `bytes` bytes in the empty file at `path`. On Linux
// the file system then allocates the blocks up front instead of all at once
// when the finished file replaces an older report, where ext4 pays about 4 ms
// per 6 MB. Only a hint: nothing happens where it is not supported.
void reserveSpace(const std::string& path, std::uint64_t bytes);

// Gives back the room reserved beyond the end of the file at `path`.
void releaseUnusedSpace(const std::string& path);

// Puts the finished file `from` in the place of `to`, replacing a file there in
// one step; false when it cannot.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace quenview::platform
