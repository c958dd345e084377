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

// Puts the finished file `from` in the place of `to`, replacing a file there in
// one step; false when it cannot.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace quenview::platform
