// A file the program writes, opened before its input is read.
#pragma once

#include <fstream>
#include <string>

namespace quenmap {

// Opened as the program has always opened its outputs: created, or emptied. Where the
// platform prefers it and the caller allows it, an existing regular file is instead
// overwritten in place and cut to the written length when it is finished, which leaves
// the same bytes behind. The caller allows it only when the file is none of the run's
// other files: emptying the input or the log first is what the program does then.
class OutputFile {
  public:
    OutputFile(const std::string& path, std::ios::openmode mode, bool mayOverwriteInPlace);
    ~OutputFile() { finish(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ofstream& stream() { return stream_; }
    bool isOpen() const { return stream_.is_open(); }
    bool overwritesInPlace() const { return overwritesInPlace_; }

    // Cuts an overwritten file to what was written and closes it. A file whose written
    // length is unknown (a write failed) is emptied rather than left with old bytes.
    void finish();

  private:
    std::string path_;
    std::ofstream stream_;
    bool overwritesInPlace_ = false;
};

// Whether both paths name one existing file.
bool sameFile(const std::string& first, const std::string& second);

}  // namespace quenmap
