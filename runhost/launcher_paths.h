#pragma once

#include <string>

#include "platform.h"

namespace runhost {

// The path in the platform's own separators ("/" counted as "\" on Windows).
std::string NormalizeSeparators(const std::string& path, const PathConventions& conventions);

// The folder of the executable: the path cut before its last separator, "." when
// there is none.
std::string ExecutableDirectory(const std::string& executablePath,
                                const PathConventions& conventions);

// The part after the last separator.
std::string FileName(const std::string& path, const PathConventions& conventions);

// The file name with its last extension replaced by ".pkf" (appended when the
// name has no point).
std::string ArchiveFileName(const std::string& executableFileName);

// The archive beside the executable.
std::string ArchivePathBeside(const std::string& executablePath,
                              const PathConventions& conventions);

// Joins two pieces with exactly one separator between them.
std::string JoinPath(const std::string& folder, const std::string& name,
                     const PathConventions& conventions);

}  // namespace runhost
