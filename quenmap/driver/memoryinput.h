#pragma once
// A file's whole content held in memory and read as a seekable stream. The
// readers rewind and search the text many times; a string stream would keep
// a second copy of it, and the file stream would go back to the disk.

#include <istream>
#include <streambuf>
#include <string>

#include "platform/filemapping.h"

namespace quenmap {

class MemoryInputBuffer : public std::streambuf {
  public:
    // The characters stay the caller's; they are only read.
    MemoryInputBuffer(const char* begin, std::size_t size);

  protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};

// The rest of the stream's content, read in large pieces. sizeHint, when
// known, spares the string's regrowth.
std::string readWhole(std::istream& in, std::size_t sizeHint = 0);

// An input file's whole content as a stream: mapped from the page cache where
// the platform maps files, read into memory otherwise.
class InputFile {
  public:
    // opened is the file at path, opened in the mode it is to be read in; it
    // is read only when the file is not mapped.
    InputFile(const std::string& path, std::istream& opened);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::istream& stream() { return stream_; }
    bool mapped() const { return mapping_.data != nullptr; }

  private:
    platform::FileMapping mapping_;
    std::string copy_;
    MemoryInputBuffer buffer_;
    std::istream stream_;
};

}  // namespace quenmap
