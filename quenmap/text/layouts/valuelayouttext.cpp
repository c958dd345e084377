#include "valuelayouttext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "text/imagebuilder.h"
#include "text/primitives.h"
#include "text/textformat.h"
#include "text/textlabels.h"
#include "valuelayout.h"

namespace quenmap {

namespace {

// The older single-value sections carry shorter labels.
const char kShortIdLabel[] = "ID:            ";
const char kShortCountLabel[] = "COUNT:      ";
const char kShortValueLabel[] = "1:          ";
const char kValueSeparator[] = ":             ";
const char kOneLineLabel[] = "1:           ";
const char kOneLineGap[] = "    ";
constexpr std::size_t kLowpasses = 9;
constexpr std::size_t kCountOffset = 8;

bool holds(const RecordLayout& row, std::uint16_t id) {
    return row.id == id;
}
bool holds(const SingleValueLayout& row, std::uint16_t id) {
    return row.id == id;
}
template <typename Row>
bool holdsInstance(const Row& row, std::uint16_t id) {
    return id >= row.baseId && id - row.baseId < row.instances;
}
bool holds(const ListLayout& row, std::uint16_t id) {
    return holdsInstance(row, id);
}
bool holds(const CompanionLayout& row, std::uint16_t id) {
    return holdsInstance(row, id);
}

template <typename Row>
const Row* findRow(RowSpan<Row> rows, std::uint16_t id) {
    for (const Row& row : rows) {
        if (holds(row, id)) return &row;
    }
    return nullptr;
}

// ---- element bits -----------------------------------------------------------

// Truncation toward zero; values beyond 64 bits are held at the limit rather
// than left to an undefined conversion.
std::int64_t truncated(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9.0e18;
    value = std::max(-kLimit, std::min(kLimit, value));
    return static_cast<std::int64_t>(value);
}

// The product as a double: x87 code would otherwise keep excess precision
// and round 1500000 Hz to 1 MHz on one platform and to 2 MHz on the other.
double scaled(double value, double factor) {
    volatile double product = value * factor;
    return product;
}

// ---- values from the text ---------------------------------------------------------

// Reads one list value and converts it to the stored element's bits.
std::uint64_t readElement(std::istream& in, const std::string& name, Element element, Scale scale) {
    switch (scale) {
        case Scale::Hz10:
            return static_cast<std::uint64_t>(
                truncated(std::floor(scaled(readValue<double>(in, name), 0.1))));
        case Scale::Hz100:
            return static_cast<std::uint64_t>(
                truncated(std::floor(scaled(readValue<double>(in, name), 0.01))));
        case Scale::MHz:
            return static_cast<std::uint64_t>(
                truncated(scaled(readValue<double>(in, name), 0.000001) + 0.5));
        case Scale::ClampedI16: {
            std::int32_t value = readValue<std::int32_t>(in, name);
            value = std::max(-65536, std::min(65535, value));
            return static_cast<std::uint16_t>(value);
        }
        case Scale::AsRead:
            break;
    }
    switch (element) {
        case Element::I16:
        case Element::I32:
            return static_cast<std::uint32_t>(readValue<std::int32_t>(in, name));
        case Element::F32:
            return bitsOf(readValue<float>(in, name));
        case Element::F64:
            return bitsOf(readValue<double>(in, name));
        default:
            return readValue<std::uint32_t>(in, name);
    }
}

// A count is never negative: "-1" stands for the huge number it would be unsigned.
std::int64_t readCount(std::istream& in, const std::string& name) {
    long long count = readValue<long long>(in, name);
    return count < 0 ? std::numeric_limits<std::int64_t>::max() : count;
}

// ---- values for the text -------------------------------------------------------------

std::string elementText(const Bytes& bytes, std::size_t offset, Element element, Scale scale,
                        const char* format, bool equalsPrevious) {
    const std::uint64_t raw = readRaw(bytes, offset, elementWidth(element));
    switch (scale) {
        case Scale::Hz10:
        case Scale::Hz100: {
            double hz = static_cast<double>(raw) * (scale == Scale::Hz10 ? 10.0 : 100.0);
            // Equal neighbours are written as distinct values; reading back
            // floors them to the same stored value again.
            if (equalsPrevious) hz += 0.01;
            return format != nullptr ? formatReal(format, hz) : fixedText(hz, 2);
        }
        case Scale::MHz: {
            const double hz = static_cast<double>(raw) * 1e6;
            return format != nullptr ? formatReal(format, hz) : fixedText(hz, 1);
        }
        default:
            break;
    }
    switch (element) {
        case Element::I16:
            return std::to_string(static_cast<std::int16_t>(raw));
        case Element::I32:
            return std::to_string(static_cast<std::int32_t>(raw));
        case Element::F32: {
            float value = floatOf(static_cast<std::uint32_t>(raw));
            return format != nullptr ? formatReal(format, static_cast<double>(value))
                                     : exactText(value);
        }
        case Element::F64: {
            double value = doubleOf(raw);
            return format != nullptr ? formatReal(format, value) : exactText(value);
        }
        default:
            return std::to_string(raw);
    }
}

// ---- kind 1: records ----------------------------------------------------------------------

void readRecordField(std::istream& in, const std::string& name, const RecordField& field,
                     ImageBuilder& image) {
    switch (field.element) {
        case Element::Word: {
            // One blank-free word, or none; its last byte stays 0.
            const std::string word = readWordOfLine(in);
            for (std::size_t i = 0; i < field.width; ++i) {
                bool inWord = i + 1 < field.width && i < word.size();
                image.setU8(field.offset + i, inWord ? static_cast<std::uint8_t>(word[i]) : 0);
            }
            break;
        }
        case Element::U16:
            image.setU16(field.offset, readValue<std::uint16_t>(in, name));
            break;
        case Element::I16:
            image.setU16(field.offset,
                         static_cast<std::uint16_t>(readValue<std::int16_t>(in, name)));
            break;
        case Element::F32:
            image.setU32(field.offset, bitsOf(readValue<float>(in, name)));
            break;
        default:
            image.setU32(field.offset, readValue<std::uint32_t>(in, name));
            break;
    }
}

std::string recordFieldText(const Bytes& bytes, const RecordField& field) {
    if (field.element != Element::Word) {
        return elementText(bytes, field.offset, field.element, Scale::AsRead, nullptr, false);
    }
    std::string word;
    for (std::size_t i = 0; i < field.width; ++i) {
        std::uint8_t c = readU8(bytes, field.offset + i);
        if (c == 0) break;
        word.push_back(static_cast<char>(c));
    }
    return word;
}

// The overload counters: the next "ID:" line that names this counter or its
// sibling decides which one the block becomes.
bool findCounterSection(TextInput& text, const RecordLayout& row, bool required, std::uint16_t& id,
                        std::string& name) {
    std::istream& in = text.stream();
    const std::istream::pos_type start = in.tellg();
    const bool wasAtEnd = text.exhausted();
    while (findKeyword(in, "ID:", false)) {
        std::string word;
        if (!(in >> word)) break;
        if (word == row.identifier) return true;
        if (word == row.siblingIdentifier) {
            id = row.siblingId;
            name = word;
            return true;
        }
    }
    if (required) failMissingString(row.identifier);
    if (!wasAtEnd && start != std::istream::pos_type(-1)) {
        in.clear();
        in.seekg(start);
    }
    return false;
}

void readRecord(TextInput& text, HwDatablock& block) {
    const RecordLayout* row = findRow(recordLayouts(), block.id());
    if (row == nullptr) return;
    const bool required = block.flag() != 0;
    if (row->search == Search::Rewind) text.rewind();
    std::istream& in = text.stream();
    ImageBuilder image(row->size);
    std::uint16_t id = row->id;
    std::string name = row->identifier;
    const bool found = row->siblingIdentifier != nullptr
                           ? findCounterSection(text, *row, required, id, name)
                           : findSection(text, name, required);
    if (found) {
        for (std::size_t i = 0; i < row->fieldCount; ++i) {
            const RecordField& field = row->fields[i];
            bool atValue = field.searched ? findKeyword(in, field.key, required)
                                          : skipToChar(in, ':', required);
            if (!atValue) break;
            readRecordField(in, name, field, image);
        }
    }
    image.loadInto(block, id);
}

void writeRecord(std::ostream& out, const HwDatablock& block, const RecordLayout& row) {
    out << row.comments << kIdLabel << row.identifier << '\n';
    for (std::size_t i = 0; i < row.fieldCount; ++i) {
        const RecordField& field = row.fields[i];
        out << paddedKey(field.key, row.keyWidth) << recordFieldText(block.bytes(), field) << '\n';
    }
    out << '\n';
}

// ---- kind 2: single values --------------------------------------------------------------

constexpr std::size_t kSingleValueSize = 16;
constexpr std::size_t kSingleValueOffset = 12;

void readSingleValue(TextInput& text, HwDatablock& block) {
    const SingleValueLayout* row = findRow(singleValueLayouts(), block.id());
    if (row == nullptr) return;
    const bool required = block.flag() != 0;
    const std::string name = row->identifier;
    std::istream& in = text.stream();
    ImageBuilder image(kSingleValueSize);
    if (findSection(text, name, required) && findKeyword(in, "COUNT:", required)) {
        std::int64_t count = readCount(in, name);
        checkCount(count, 1, name);
        image.setU32(kCountOffset, static_cast<std::uint32_t>(count));
        if (count >= 1 && skipToChar(in, ':', required)) {
            image.setU32(kSingleValueOffset, readValue<std::uint32_t>(in, name));
        }
    }
    image.loadInto(block, row->id);
}

void writeSingleValue(std::ostream& out, const HwDatablock& block, const SingleValueLayout& row) {
    const Bytes& bytes = block.bytes();
    // The value line is written even when the count is 0.
    out << row.comments << kShortIdLabel << row.identifier << '\n'
        << kShortCountLabel << readRaw(bytes, kCountOffset, row.countWidth) << '\n'
        << kShortValueLabel << static_cast<std::int32_t>(readU32(bytes, kSingleValueOffset)) << '\n'
        << '\n';
}

// ---- kind 3: lists --------------------------------------------------------------------------

const char* formatFor(const ListLayout& row, std::size_t index) {
    const char* format = nullptr;
    for (std::size_t i = 0; i < 3 && i <= index; ++i) {
        if (row.formats[i] != nullptr) format = row.formats[i];
    }
    return format;
}

// Reads up to count values (each after its ':') into the slots from offset on.
// False when a ':' was missing (only possible for an optional section).
bool readListValues(std::istream& in, const std::string& name, const ListLayout& row,
                    ImageBuilder& image, std::size_t offset, std::int64_t count, bool required) {
    const std::size_t width = elementWidth(row.element);
    const std::size_t slots = std::min<std::int64_t>(count, row.capacity);
    for (std::size_t i = 0; i < slots; ++i) {
        if (row.shape != ListShape::OneLine && !skipToChar(in, ':', required)) return false;
        image.setRaw(offset + i * width, width, readElement(in, name, row.element, row.scale));
    }
    return true;
}

void readList(TextInput& text, HwDatablock& block) {
    const ListLayout* row = findRow(listLayouts(), block.id());
    if (row == nullptr) return;
    const std::uint16_t id = block.id();
    const std::string name = row->name.of(id - row->baseId);
    const bool required = block.flag() != 0;
    if (row->search == Search::Rewind) text.rewind();
    std::istream& in = text.stream();
    ImageBuilder image(row->size);
    bool found = false;
    if (row->idLabelFirst) {
        found = findKeyword(in, "ID:", required) && findKeyword(in, name, required);
        if (!found) text.rewind();  // back where the search began
    } else {
        found = findSection(text, name, required);
    }
    if (!found) {
        image.loadInto(block, row->emptyWhenMissing ? 0 : id);
        return;
    }
    const bool countRequired = required || row->idLabelFirst;
    const std::size_t width = elementWidth(row->element);
    const std::size_t lists = row->shape == ListShape::NineLowpasses ? kLowpasses : 1;
    for (std::size_t n = 0; n < lists; ++n) {
        if (!findKeyword(in, row->countKey, countRequired)) break;
        std::int64_t count = readCount(in, name);
        checkCount(count, row->limit, name);
        image.setU32(kCountOffset + 4 * n, static_cast<std::uint32_t>(count));
        // The one-line list has a single "1:" label before all its values.
        if (row->shape == ListShape::OneLine && !skipToChar(in, ':', required)) break;
        std::size_t offset = row->elementOffset + n * row->capacity * width;
        if (!readListValues(in, name, *row, image, offset, count, required)) break;
    }
    image.loadInto(block, id);
}

void writeValueLines(std::ostream& out, const Bytes& bytes, const ListLayout& row,
                     std::size_t offset, std::uint64_t count, const char* numberPrefix) {
    const std::size_t width = elementWidth(row.element);
    const std::uint64_t lines = std::min<std::uint64_t>(count, row.capacity);
    // One insertion per line: the lists reach 1500 lines.
    LineBuffer line;
    for (std::size_t i = 0; i < lines; ++i) {
        std::size_t at = offset + i * width;
        bool equalsPrevious =
            i > 0 && readRaw(bytes, at, width) == readRaw(bytes, at - width, width);
        line.append(numberPrefix);
        line.appendUnsigned(i + row.firstNumber);
        line.append(kValueSeparator);
        line.append(
            elementText(bytes, at, row.element, row.scale, formatFor(row, i), equalsPrevious));
        line.append('\n');
        line.writeWhenFull(out);
    }
    line.writeAll(out);
}

void writeList(std::ostream& out, const HwDatablock& block, const ListLayout& row) {
    const Bytes& bytes = block.bytes();
    const std::size_t width = elementWidth(row.element);
    if (row.shape == ListShape::ZeileLines) out << "LEV_PRE_TAB:\n";
    out << row.comments << kIdLabel << row.name.of(block.id() - row.baseId) << '\n';
    const std::string countLabel = paddedKey(row.countKey);
    if (row.shape == ListShape::NineLowpasses) {
        for (std::size_t n = 0; n < kLowpasses; ++n) {
            std::uint32_t count = readU32(bytes, kCountOffset + 4 * n);
            out << "#TIEFPASS NR. " << n + 1 << '\n'
                << "# Das sind die Frequenzst\xFC"
                   "tzstellen [MHz] der RF fuer den "
                << n + 1 << ". TP\n"
                << countLabel << count << '\n';
            writeValueLines(out, bytes, row, row.elementOffset + n * row.capacity * width, count,
                            "");
        }
        out << '\n';
        return;
    }
    const std::uint64_t count = readRaw(bytes, kCountOffset, row.countWidth);
    out << countLabel << count << '\n';
    if (row.shape == ListShape::OneLine) {
        // All values on the "1:" line, which also ends the section.
        std::string line(kOneLineLabel);
        const std::uint64_t values = std::min<std::uint64_t>(count, row.capacity);
        for (std::size_t i = 0; i < values; ++i) {
            line += kOneLineGap;
            line += elementText(bytes, row.elementOffset + i * width, row.element, row.scale,
                                formatFor(row, i), false);
        }
        line += '\n';
        out << line;
        return;
    }
    writeValueLines(out, bytes, row, row.elementOffset, count,
                    row.shape == ListShape::ZeileLines ? "Zeile" : "");
    out << '\n';
}

// ---- kind 4: companion lists ------------------------------------------------------------------

constexpr std::size_t kCompanionOffset = 12;
constexpr std::uint8_t kTableColumns = 5;

void readCompanion(TextInput& text, HwDatablock& block) {
    const CompanionLayout* row = findRow(companionLayouts(), block.id());
    if (row == nullptr) return;
    const std::uint16_t id = block.id();
    const std::string name = row->name.of(id - row->baseId);
    const std::string companion = row->companion.of(id - row->baseId);
    const bool required = block.flag() != 0;
    text.rewind();
    std::istream& in = text.stream();
    ImageBuilder image(row->size);
    std::int64_t count = 0;
    // The values have no count of their own: their frequency block's count holds.
    if (findSection(text, companion, required) && findKeyword(in, "COUNT:", required)) {
        count = readCount(in, companion);
        checkCount(count, row->limit, companion);
    }
    if (findSection(text, name, required)) {
        image.setU32(kCountOffset, static_cast<std::uint32_t>(count));
        const std::size_t width = elementWidth(row->element);
        const std::size_t slots = std::min<std::int64_t>(count, row->capacity);
        for (std::size_t i = 0; i < slots; ++i) {
            if (!skipToChar(in, ':', required)) break;
            const std::uint8_t values = row->column == 0 ? 1 : kTableColumns;
            for (std::uint8_t c = 0; c < values; ++c) {
                std::uint64_t raw = readElement(in, name, row->element, row->scale);
                if (c == row->column || row->column == 0) {
                    image.setRaw(kCompanionOffset + i * width, width, raw);
                }
            }
        }
    }
    image.loadInto(block, id);
}

void writeCompanion(std::ostream& out, const HwDatablock& block, const CompanionLayout& row) {
    const Bytes& bytes = block.bytes();
    const std::size_t width = elementWidth(row.element);
    out << row.comments << kIdLabel << row.name.of(block.id() - row.baseId) << '\n';
    const std::uint64_t lines =
        std::min<std::uint64_t>(readRaw(bytes, kCountOffset, row.countWidth), row.capacity);
    LineBuffer line;
    for (std::size_t i = 0; i < lines; ++i) {
        line.appendUnsigned(i + 1);
        line.append(": ");
        line.append(elementText(bytes, kCompanionOffset + i * width, row.element, row.scale,
                                nullptr, false));
        line.append('\n');
        line.writeWhenFull(out);
    }
    line.writeAll(out);
    out << '\n';
}

// ---- the table
// ------------------------------------------------------------------------------------

TextReader valueReaderFor(std::uint16_t blockId) {
    if (findRow(recordLayouts(), blockId) != nullptr) return &readRecord;
    if (findRow(singleValueLayouts(), blockId) != nullptr) return &readSingleValue;
    if (findRow(listLayouts(), blockId) != nullptr) return &readList;
    if (findRow(companionLayouts(), blockId) != nullptr) return &readCompanion;
    return nullptr;
}

bool writeValueText(std::ostream& out, const HwDatablock& block) {
    const std::uint16_t id = block.id();
    if (const RecordLayout* row = findRow(recordLayouts(), id)) {
        writeRecord(out, block, *row);
    } else if (const SingleValueLayout* single = findRow(singleValueLayouts(), id)) {
        writeSingleValue(out, block, *single);
    } else if (const ListLayout* list = findRow(listLayouts(), id)) {
        writeList(out, block, *list);
    } else if (const CompanionLayout* values = findRow(companionLayouts(), id)) {
        writeCompanion(out, block, *values);
    } else {
        return false;
    }
    return true;
}

}  // namespace

const LayoutTable& valueLayoutTable() {
    static const LayoutTable table{&valueReaderFor, &writeValueText};
    return table;
}

}  // namespace quenmap
