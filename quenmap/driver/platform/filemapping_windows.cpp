#include "filemapping.h"

namespace quenmap::platform {

// Files are read, not mapped: a text file read in text mode has its line ends
// translated, which a mapping would not do.
FileMapping mapWholeFile(const std::string&) {
    return {};
}

void unmapFile(const FileMapping&) {}

}  // namespace quenmap::platform
