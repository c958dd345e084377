// Fuzz target: quenview's inspection of any input, image or text, its JSON,
// and the comparison of two inputs made from the two halves of the bytes.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "model/compare.h"
#include "model/input.h"
#include "output/jsonmodel.h"

namespace {

bool isRunStatus(int status) {
    return status == 0 || status == 1 || status == 2 || status == 4 || status == 7;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ostringstream err;
    quenview::Report whole;
    const int status = quenview::reportOf("input", {data, data + size}, err, whole);
    if (!isRunStatus(status)) __builtin_trap();
    if (status == 0) {
        const std::string json = quenview::reportJson(whole);
        if (json.empty() || json.front() != '{' || json.back() != '}') __builtin_trap();
        // Whatever the walk found, it ended inside the bytes.
        if (whole.file.kind == "image" && whole.status.endOffset > size) __builtin_trap();
    }
    // An odd first byte pairs the two halves of the input.
    if (size > 1 && (data[0] & 1) != 0) {
        const std::size_t half = size / 2;
        quenview::Report before;
        quenview::Report after;
        if (quenview::reportOf("before", {data + 1, data + half}, err, before) == 0 &&
            quenview::reportOf("after", {data + half, data + size}, err, after) == 0) {
            const quenview::Comparison comparison =
                quenview::compareReports(std::move(before), std::move(after));
            if (comparison.changed > comparison.compared) __builtin_trap();
            if (quenview::comparisonJson(comparison).empty()) __builtin_trap();
        }
    }
    return 0;
}
