#pragma once
// Example files and a fresh folder per test, for quenview's tests.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quenview::testing {

inline std::string examplePath(const std::string& name) {
    return std::string(QUENVIEW_EXAMPLES_DIR) + "/" + name;
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The board names of the shipped examples: every NAME.bin has its NAME.txt.
inline std::vector<std::string> exampleBoards() {
    std::vector<std::string> boards;
    for (const auto& entry : std::filesystem::directory_iterator(QUENVIEW_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".bin") boards.push_back(entry.path().stem().string());
    }
    std::sort(boards.begin(), boards.end());
    return boards;
}

// A folder of its own, removed with everything in it at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("quenview-test-" + name)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace quenview::testing
