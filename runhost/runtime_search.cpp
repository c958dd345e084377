#include "runtime_search.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <vector>

#include "launcher_paths.h"
#include "reporter.h"

namespace runhost {

std::string RuntimeLibraryName(const DataBlock& block, const PathConventions& conventions) {
    std::string name =
        conventions.libraryPrefix + "nrlnrtrt" + block.majorVersion + "_" + block.minorVersion;
    if (block.updaterVersion != "0") name += "_" + block.updaterVersion;
    return name + conventions.librarySuffix;
}

RuntimeLocation LocateRuntimeLibrary(const DataBlock& block, const std::string& executableDirectory,
                                     Platform& platform, Reporter& reporter) {
    const PathConventions& conventions = platform.conventions();
    RuntimeLocation location;
    location.libraryName = RuntimeLibraryName(block, conventions);
    reporter.verboseLine("build library name=" + location.libraryName);

    std::string runtimeFolder = executableDirectory;
    for (const std::string& piece : conventions.runtimeFolder) {
        runtimeFolder = JoinPath(runtimeFolder, piece, conventions);
    }
    const std::string besideCandidate = JoinPath(runtimeFolder, location.libraryName, conventions);
    reporter.verboseLine("1. search " + besideCandidate);
    if (platform.fileExists(besideCandidate)) {
        reporter.verboseLine("Find " + location.libraryName + " in " + runtimeFolder);
        location.found = true;
        location.folder = runtimeFolder;
        location.libraryPath = besideCandidate;
        return location;
    }

    if (const auto searchList = platform.environmentVariable(conventions.searchVariable)) {
        reporter.verboseLine("2. search " + *searchList);
        std::vector<std::string> entries;
        boost::algorithm::split(entries, *searchList,
                                boost::algorithm::is_any_of(conventions.searchListSeparators));
        for (const std::string& entry : entries) {
            // An empty entry names no folder; joining it would test the root.
            if (entry.empty()) continue;
            const std::string candidate = JoinPath(entry, location.libraryName, conventions);
            if (platform.fileExists(candidate)) {
                reporter.verboseLine("Found " + location.libraryName + " in " + entry);
                location.found = true;
                location.folder = entry;
                location.libraryPath = candidate;
                return location;
            }
        }
    }

    reporter.verboseLine("3. Try to find " + location.libraryName +
                         " in registry and preference settings");
    return location;
}

}  // namespace runhost
