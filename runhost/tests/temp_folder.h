#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace runhost_test {

// A fresh folder per test, removed afterwards; paths use "/" on every host.
class TempFolder {
  public:
    explicit TempFolder(const std::string& name) {
        // Unique per run: test cases may run in parallel, in several build trees.
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("runhost_test_" + name + "_" + std::to_string(random()) + "_" +
                 std::to_string(random()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string path() const { return path_.generic_string(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

  private:
    std::filesystem::path path_;
};

}  // namespace runhost_test
