#pragma once
// A file in the temporary folder, removed when the test ends. Declare it
// before the streams on it, so that they are closed first, as Windows
// requires before a file can be removed.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace quenmap::test {

struct TemporaryFile {
    TemporaryFile(const std::string& name, const std::string& content)
        : path((std::filesystem::temp_directory_path() / name).string()) {
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TemporaryFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    std::string path;
};

}  // namespace quenmap::test
