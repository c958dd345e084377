// Records: the ident, service and statistics records, the keyed records of
// the record layouts and the counted reference values. Field names are the
// text's keys.

#include <string>

#include "datablocks/commonrecords.h"
#include "datablocks/families/referencevalue.h"
#include "datablocks/hwdatablockident.h"
#include "decoders.h"
#include "text/layouts/valuelayout.h"
#include "text/textformat.h"

namespace quenview {

namespace {

using quenmap::formatText;

std::string dateText(std::uint16_t packed) {
    return formatText("%u-%02u-%02u", (packed >> 9) + 1980u, (packed >> 5) & 0x0Fu, packed & 0x1Fu);
}

std::string hundredthsText(std::uint16_t value) {
    return formatText("%02u.%02u", value / 100u, value % 100u);
}

Field countField(std::string name, double value) {
    return numberField(std::move(name), "", value, value);
}

// Operating hours are kept as hours * 1000000 + millionths.
Field hoursField(std::string name, std::uint32_t stored) {
    return numberField(std::move(name), "h", static_cast<double>(stored) / quenmap::kHoursScale,
                       stored);
}

Cell cellOfElement(quenmap::Element element) {
    switch (element) {
        case quenmap::Element::U8:
        case quenmap::Element::Word:
            return Cell::U8;
        case quenmap::Element::U16:
            return Cell::U16;
        case quenmap::Element::I16:
            return Cell::I16;
        case quenmap::Element::U32:
            return Cell::U32;
        case quenmap::Element::I32:
            return Cell::I32;
        case quenmap::Element::F32:
            return Cell::F32;
        case quenmap::Element::F64:
            return Cell::F64;
    }
    return Cell::U32;
}

template <typename Row>
const Row* layoutRowOf(quenmap::RowSpan<Row> rows, std::uint16_t id) {
    for (const Row& row : rows) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

std::string keyName(const char* key) {
    std::string name = key;
    if (!name.empty() && name.back() == ':') name.pop_back();
    return name;
}

std::string wordText(const quenmap::Bytes& bytes, const quenmap::RecordField& field) {
    std::string word;
    for (std::size_t i = 0; i < field.width; ++i) {
        const std::uint8_t c = quenmap::readU8(bytes, field.offset + i);
        if (c == 0) break;
        word.push_back(static_cast<char>(c));
    }
    return word;
}

}  // namespace

void decodeIdent(const quenmap::HwDatablock& block, const DecodeInput&, BlockContent& out) {
    const auto* ident = dynamic_cast<const quenmap::HwIdentRecord*>(&block);
    if (ident == nullptr) return;
    const std::uint32_t part = ident->partNumber();
    out.fields = {
        countField("ALIGNMENT", ident->alignment()),
        countField("EEPROMSIZE", ident->eepromSize()),
        textField("PARTNUMBER",
                  formatText("%u.%04u.%02u", part / 10000u, part % 10000u,
                             static_cast<unsigned>(ident->partVariant())),
                  part),
        countField("HWCODE", ident->hardwareCode()),
        textField("PRODUCTINDEX", hundredthsText(ident->productIndex()), ident->productIndex()),
        countField("SN", ident->serialNumber()),
        textField("PRODUCTDATE", dateText(ident->productDate()), ident->productDate()),
        countField("READCODE", ident->readCode()),
        textField("TESTINSTRUCTION", hundredthsText(ident->testInstruction()),
                  ident->testInstruction()),
        textField("NAME", ident->unitName(), 0),
    };
}

void decodeModification(const quenmap::HwDatablock& block, const DecodeInput&, BlockContent& out) {
    const auto* record = dynamic_cast<const quenmap::HwDatablockModification*>(&block);
    if (record == nullptr) return;
    // A code's low 14 bits are its number, its top 2 bits its state.
    for (std::size_t i = 0; i < quenmap::HwDatablockModification::kCodeCount; ++i) {
        const std::uint16_t code = record->serviceCode(i);
        const std::string name = "SERVICECODE " + std::to_string(i + 1);
        out.fields.push_back(numberField(name, "", code & 0x3FFFu, code));
        out.fields.push_back(numberField(name + " state", "", code >> 14, code));
    }
}

void decodeService(const quenmap::HwDatablock& block, const DecodeInput&, BlockContent& out) {
    const auto* record = dynamic_cast<const quenmap::HwDatablockServiceData*>(&block);
    if (record == nullptr) return;
    out.fields = {
        textField("DEPARTMENT", record->department(), 0),
        textField("SERVICEDATE", dateText(record->serviceDate()), record->serviceDate()),
        hoursField("OPHOURS", record->operatingHours()),
        countField("REPAIRNUMBER", record->repairNumber()),
        countField("SERVICECODE", record->serviceCode()),
    };
}

void decodeStatistic(const quenmap::HwDatablock& block, const DecodeInput&, BlockContent& out) {
    const auto* record = dynamic_cast<const quenmap::HwDatablockStatistic*>(&block);
    if (record == nullptr) return;
    out.fields = {hoursField("OPHOURS", record->operatingHours())};
}

void decodeRecord(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const quenmap::RecordLayout* layout = layoutRowOf(quenmap::recordLayouts(), block.id());
    if (layout == nullptr) return;
    const quenmap::Bytes& bytes = block.bytes();
    for (std::size_t i = 0; i < layout->fieldCount; ++i) {
        const quenmap::RecordField& field = layout->fields[i];
        std::string name = keyName(field.key);
        // Keys that repeat (the two counters of a block) are numbered.
        std::size_t same = 0, before = 0;
        for (std::size_t k = 0; k < layout->fieldCount; ++k) {
            if (keyName(layout->fields[k].key) != name) continue;
            ++same;
            if (k < i) ++before;
        }
        if (same > 1) name += " " + std::to_string(before + 1);
        if (field.element == quenmap::Element::Word) {
            out.fields.push_back(textField(std::move(name), wordText(bytes, field), 0));
            continue;
        }
        const double stored = readStored(bytes, field.offset, cellOfElement(field.element));
        out.fields.push_back(
            numberField(std::move(name), input.view.unit, physicalOf(stored, input.view), stored));
    }
}

void decodeSingle(const quenmap::HwDatablock& block, const DecodeInput& input, BlockContent& out) {
    const quenmap::SingleValueLayout* layout =
        layoutRowOf(quenmap::singleValueLayouts(), block.id());
    if (layout == nullptr) return;
    const quenmap::Bytes& bytes = block.bytes();
    const double count =
        static_cast<double>(quenmap::readRaw(bytes, quenmap::kCountOffset, layout->countWidth));
    // The value is printed signed; with a count of 0 it is no value.
    const double stored = static_cast<std::int32_t>(
        quenmap::readU32(bytes, quenmap::ReferenceValueBlock::kValueOffset));
    out.fields = {
        countField("COUNT", count),
        numberField(input.view.quantity, input.view.unit,
                    count >= 1 ? physicalOf(stored, input.view) : std::nullopt, stored),
    };
}

}  // namespace quenview
