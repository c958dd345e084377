#pragma once
// Helpers of the matrix and RFM text tests: images assembled field by field
// with their own checksum, readers and writers run on a plain block.

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "datablocks/hwdatablock.h"
#include "layouttesting.h"
#include "text/layouttext.h"
#include "text/primitives.h"

namespace quenmap::matrixtest {

// The plain block and the independently built image of the layout tests.
using PlainBlock = test::RawBlock;
using Expected = test::Image;

struct Read {
    Bytes bytes;
    int status = 0;  // 0, or the status of the text failure
    std::string message;
};

template <typename Reader>
Read runReader(const std::string& text, std::uint16_t id, std::size_t size, Reader read,
               std::uint8_t flag = 1) {
    std::istringstream in(text);
    std::ostringstream diagnostics;
    TextInput input(in, diagnostics);
    PlainBlock block(id, size, flag);
    Read result;
    try {
        read(input, block);
    } catch (const TextFailure& failure) {
        result.status = failure.status;
        result.message = failure.message;
    }
    result.bytes = block.bytes();
    return result;
}

// Runs the layout reader of the id, as the conversion run does.
inline Read readLayout(const std::string& text, std::uint16_t id, std::size_t size,
                       std::uint8_t flag = 1) {
    TextReader reader = layoutReaderFor(id);
    if (reader == nullptr) return Read{{}, -1, "no reader"};
    return runReader(text, id, size, reader, flag);
}

inline std::string writeLayout(const Bytes& image) {
    PlainBlock block(0, image.size());
    block.setFromImage(image.data(), image.size());
    std::ostringstream out;
    block.writeText(out);
    return out.str();
}

}  // namespace quenmap::matrixtest
