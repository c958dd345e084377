#include "memoryinput.h"

namespace quenmap {

MemoryInputBuffer::MemoryInputBuffer(std::string content) : content_(std::move(content)) {
    char* begin = content_.data();
    setg(begin, begin, begin + content_.size());
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

}  // namespace quenmap
