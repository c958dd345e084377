#include "launcher_paths.h"

#include <boost/algorithm/string/replace.hpp>

namespace runhost {

std::string NormalizeSeparators(const std::string& path, const PathConventions& conventions) {
    if (!conventions.slashIsSeparator) return path;
    return boost::algorithm::replace_all_copy(path, "/", std::string(1, conventions.separator));
}

std::string ExecutableDirectory(const std::string& executablePath,
                                const PathConventions& conventions) {
    const std::string path = NormalizeSeparators(executablePath, conventions);
    const std::size_t last = path.rfind(conventions.separator);
    if (last == std::string::npos) return ".";
    return path.substr(0, last);
}

std::string FileName(const std::string& path, const PathConventions& conventions) {
    const std::string normalized = NormalizeSeparators(path, conventions);
    const std::size_t last = normalized.rfind(conventions.separator);
    return last == std::string::npos ? normalized : normalized.substr(last + 1);
}

std::string ArchiveFileName(const std::string& executableFileName) {
    const std::size_t point = executableFileName.rfind('.');
    if (point == std::string::npos) return executableFileName + ".pkf";
    return executableFileName.substr(0, point) + ".pkf";
}

std::string ArchivePathBeside(const std::string& executablePath,
                              const PathConventions& conventions) {
    return JoinPath(ExecutableDirectory(executablePath, conventions),
                    ArchiveFileName(FileName(executablePath, conventions)), conventions);
}

std::string JoinPath(const std::string& folder, const std::string& name,
                     const PathConventions& conventions) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == conventions.separator || (conventions.slashIsSeparator && last == '/')) {
        return folder + name;
    }
    return folder + conventions.separator + name;
}

}  // namespace runhost
