#pragma once
// A file's whole content held in memory and read as a seekable stream. The
// readers rewind and search the text many times; a string stream would keep
// a second copy of it, and the file stream would go back to the disk.

#include <istream>
#include <streambuf>
#include <string>

namespace quenmap {

class MemoryInputBuffer : public std::streambuf {
  public:
    explicit MemoryInputBuffer(std::string content);

  protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

  private:
    std::string content_;
};

// The rest of the stream's content, read in large pieces. sizeHint, when
// known, spares the string's regrowth.
std::string readWhole(std::istream& in, std::size_t sizeHint = 0);

}  // namespace quenmap
