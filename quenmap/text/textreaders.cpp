#include "textreaders.h"

#include <array>

#include "datablocks/commonrecords.h"
#include "datablocks/hwdatablockend.h"
#include "datablocks/hwdatablockident.h"
#include "layouttext.h"
#include "recordtext.h"
#include "tabletext.h"

namespace quenmap {

namespace {

// Gives a typed reader the common signature; the run only hands a reader the
// block that was created for its kind.
template <typename Block, void (*Read)(TextInput&, Block&)>
void readAs(TextInput& text, HwDatablock& block) {
    Read(text, static_cast<Block&>(block));
}

struct ReaderRow {
    BlockKind kind;
    TextReader read;
};

const ReaderRow kReaders[] = {
    {BlockKind::Ident, &readAs<HwIdentRecord, readIdentText>},
    {BlockKind::MiscIdent, &readAs<HwIdentRecord, readIdentText>},
    {BlockKind::Modification, &readAs<HwDatablockModification, readModificationText>},
    {BlockKind::Service, &readAs<HwDatablockServiceData, readServiceText>},
    {BlockKind::Statistic, &readAs<HwDatablockStatistic, readStatisticText>},
    {BlockKind::End, &readAs<HwDatablockEnd, readEndText>},
// Every table block type reads through the table reader of its form.
#define QM_BLOCK(kind, cls, text, base, instances, size) {BlockKind::kind, &readTableBlockText},
#include "datablocks/tables/tablecatalogue.def"
};

}  // namespace

TextReader textReaderFor(BlockKind kind) {
    for (const ReaderRow& row : kReaders) {
        if (row.kind == kind) return row.read;
    }
    return nullptr;
}

}  // namespace quenmap

namespace quenmap {

TextReader textReaderFor(const BlockType& type) {
    TextReader read = textReaderFor(type.kind);
    return read != nullptr ? read : layoutReaderFor(type.baseId);
}

}  // namespace quenmap
