#pragma once
// A seekable stream buffer that holds only a few characters ready at a time,
// as a file buffer holds a page: readers that scan the buffered characters in
// place must carry tokens, numbers and blocks across refills.

#include <algorithm>
#include <streambuf>
#include <string>

namespace quenmap::test {

class PiecewiseBuffer : public std::streambuf {
  public:
    PiecewiseBuffer(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {
        setg(text_.data(), text_.data(), text_.data());
    }

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        char* const end = text_.data() + text_.size();
        if (gptr() == end) return traits_type::eof();
        setg(text_.data(), gptr(), std::min(gptr() + piece_, end));
        return traits_type::to_int_type(*gptr());
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        const off_type base = direction == std::ios_base::beg ? 0
                              : direction == std::ios_base::cur
                                  ? gptr() - text_.data()
                                  : static_cast<off_type>(text_.size());
        const off_type target = base + offset;
        if (target < 0 || target > static_cast<off_type>(text_.size())) return pos_type(-1);
        char* at = text_.data() + target;
        setg(text_.data(), at, at);
        return pos_type(target);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

  private:
    std::string text_;
    std::size_t piece_;
};

}  // namespace quenmap::test
