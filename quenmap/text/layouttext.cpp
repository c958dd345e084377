#include "layouttext.h"

#include "layouts/valuelayouttext.h"
#include "matrixtext.h"
#include "rfmtext.h"

namespace quenmap {

namespace {

// Every table of layout rows; a family of layouts joins with one entry here.
const LayoutTable& (*const kLayoutTables[])() = {
    &valueLayoutTable,
    &matrixLayoutTable,
    &rfmLayoutTable,
};

}  // namespace

TextReader layoutReaderFor(std::uint16_t blockId) {
    for (auto table : kLayoutTables) {
        if (TextReader read = table().readerFor(blockId)) return read;
    }
    return nullptr;
}

std::ostream& writeTextByLayout(std::ostream& out, const HwDatablock& block) {
    for (auto table : kLayoutTables) {
        if (table().writeText(out, block)) break;
    }
    return out;
}

}  // namespace quenmap
