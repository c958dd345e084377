#include "memoryinput.h"

#include <filesystem>
#include <system_error>

namespace quenmap {

MemoryInputBuffer::MemoryInputBuffer(const char* begin, std::size_t size) {
    // The get area is only ever read; the stream buffer interface just has no
    // const form of it.
    char* first = const_cast<char*>(begin);
    setg(first, first, first + size);
}

MemoryInputBuffer::pos_type MemoryInputBuffer::seekoff(off_type offset,
                                                       std::ios_base::seekdir direction,
                                                       std::ios_base::openmode which) {
    const pos_type failed(off_type(-1));
    if ((which & std::ios_base::in) == 0) return failed;
    const off_type size = egptr() - eback();
    off_type base = 0;
    if (direction == std::ios_base::cur) base = gptr() - eback();
    if (direction == std::ios_base::end) base = size;
    const off_type target = base + offset;
    if (target < 0 || target > size) return failed;
    setg(eback(), eback() + target, egptr());
    return pos_type(target);
}

MemoryInputBuffer::pos_type MemoryInputBuffer::seekpos(pos_type position,
                                                       std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

std::string readWhole(std::istream& in, std::size_t sizeHint) {
    std::string content;
    content.reserve(sizeHint);
    char piece[1 << 16];
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        const std::streamsize read = buffer->sgetn(piece, sizeof piece);
        if (read <= 0) break;
        content.append(piece, static_cast<std::size_t>(read));
    }
    return content;
}

namespace {

// The size of a file, or 0 when it cannot be told.
std::size_t fileSize(const std::string& path) {
    std::error_code failed;
    const std::uintmax_t size = std::filesystem::file_size(path, failed);
    return failed ? 0 : static_cast<std::size_t>(size);
}

}  // namespace

InputFile::InputFile(const std::string& path, std::istream& opened)
    : mapping_(platform::mapWholeFile(path)),
      copy_(mapped() ? std::string() : readWhole(opened, fileSize(path))),
      buffer_(mapped() ? mapping_.data : copy_.data(), mapped() ? mapping_.size : copy_.size()),
      stream_(&buffer_) {}

InputFile::~InputFile() {
    platform::unmapFile(mapping_);
}

}  // namespace quenmap
