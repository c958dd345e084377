#include "outputfile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/outputfile.h"

namespace quenmap {

OutputFile::OutputFile(const std::string& path, std::ios::openmode mode, bool mayOverwriteInPlace)
    : path_(path) {
    std::error_code error;
    if (mayOverwriteInPlace && platform::overwriteOutputInPlace() &&
        std::filesystem::is_regular_file(path, error)) {
        // Opening for reading as well keeps the file's bytes.
        stream_.open(path, mode | std::ios::in | std::ios::out);
        overwritesInPlace_ = stream_.is_open();
    }
    if (!overwritesInPlace_) stream_.open(path, mode | std::ios::out | std::ios::trunc);
}

void OutputFile::finish() {
    if (!stream_.is_open()) return;
    if (!overwritesInPlace_) {
        stream_.close();
        return;
    }
    stream_.flush();
    const std::streamoff written = stream_.good() ? std::streamoff(stream_.tellp()) : -1;
    stream_.close();
    std::error_code ignored;
    std::filesystem::resize_file(
        path_, static_cast<std::uintmax_t>(std::max<std::streamoff>(written, 0)), ignored);
}

bool sameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

}  // namespace quenmap
