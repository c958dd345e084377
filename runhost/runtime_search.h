#pragma once

#include <string>

#include "data_block.h"
#include "platform.h"

namespace runhost {

class Reporter;

// Where the search found the runtime library.
struct RuntimeLocation {
    bool found = false;
    std::string libraryName;
    std::string folder;       // the folder the library is bound from
    std::string libraryPath;  // that folder and the name
};

// "nrlnrtrt" + major + "_" + minor (+ "_" + updater unless it is "0"), with the
// platform's prefix and suffix.
std::string RuntimeLibraryName(const DataBlock& block, const PathConventions& conventions);

// Looks beside the executable, then along the library search list; verbose
// lines tell each step.
RuntimeLocation LocateRuntimeLibrary(const DataBlock& block, const std::string& executableDirectory,
                                     Platform& platform, Reporter& reporter);

}  // namespace runhost
