// Read-only mapping of a whole input file from the operating system's page
// cache: the one place that knows how the platform maps files.
#pragma once

#include <cstddef>
#include <string>

namespace quenmap::platform {

struct FileMapping {
    const char* data = nullptr;
    std::size_t size = 0;
};

// The whole regular, non-empty file at path mapped for reading, or an empty
// mapping when the platform does not map it; the caller then reads the file.
// A file that shrinks while mapped reads as zero bytes where it was cut off.
FileMapping mapWholeFile(const std::string& path);
void unmapFile(const FileMapping& mapping);

}  // namespace quenmap::platform
