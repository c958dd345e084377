// Reads a fuzz input front to back as the description of what a simulated device, driver or
// file tree answers. Once the input is used up every read answers 0 (or nothing), so that any
// input, however short, describes a complete and finite world.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzzing {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
    std::uint32_t u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }
    // The next count bytes, fewer where the input ends.
    std::vector<std::uint8_t> bytes(std::size_t count) {
        const std::size_t taken = count < size_ - at_ ? count : size_ - at_;
        std::vector<std::uint8_t> out(data_ + at_, data_ + at_ + taken);
        at_ += taken;
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A property every input must keep; a broken one ends the run so that the fuzzer keeps the input.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace fuzzing
