#include "blockloader.h"

#include <vector>

#include "text/primitives.h"

namespace quenmap {

namespace {

// One unformatted byte; 0 when the stream has none.
std::uint8_t readByte(std::istream& in) {
    std::istream::int_type c = in.get();
    return c == std::istream::traits_type::eof() ? 0 : static_cast<std::uint8_t>(c);
}

}  // namespace

std::uint16_t readBlockId(std::istream& in) {
    std::uint8_t low = readByte(in);
    std::uint8_t high = readByte(in);
    return static_cast<std::uint16_t>(low | (high << 8));
}

LoadResult loadBlock(std::istream& in, HwDatablock& block) {
    std::istream::pos_type idPosition = in.tellg();
    if (idPosition == std::istream::pos_type(-1)) return LoadResult::Malformed;
    std::uint8_t low = readByte(in);
    std::uint8_t high = readByte(in);
    if (!in) return LoadResult::Malformed;
    const std::size_t length = static_cast<std::size_t>(low | (high << 8));
    if (length < kHeaderSize || length < block.blockSize()) return LoadResult::Malformed;

    in.seekg(idPosition - std::istream::off_type(2));
    if (!in) return LoadResult::Malformed;
    // An image held in memory is loaded where it stands, without a copy.
    if (const char* ready = readyCharacters(in, length)) {
        skipReadyCharacters(in, length);
        return block.setFromImage(reinterpret_cast<const std::uint8_t*>(ready), length) == kLoaded
                   ? LoadResult::Loaded
                   : LoadResult::Rejected;
    }
    std::vector<std::uint8_t> image(length, 0);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(length));
    if (static_cast<std::size_t>(in.gcount()) != length) return LoadResult::Malformed;
    return block.setFromImage(image.data(), image.size()) == kLoaded ? LoadResult::Loaded
                                                                     : LoadResult::Rejected;
}

std::istream& operator>>(std::istream& in, HwDatablock& block) {
    if (loadBlock(in, block) != LoadResult::Loaded) in.setstate(std::ios::failbit);
    return in;
}

}  // namespace quenmap
