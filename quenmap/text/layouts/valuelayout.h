#pragma once
// Layout rows of the block types whose text is a record of keyed fields, a
// counted single value, a counted list or a value list counted by its
// companion frequency block. Each row says everything the generic readers and
// writers of its form need; a new type of these forms is one row.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenmap {

// The element as stored in the block.
enum class Element : std::uint8_t { U8, U16, I16, U32, I32, F32, F64, Word };

// How a text value becomes the stored element.
enum class Scale : std::uint8_t {
    AsRead,      // stored as read
    Hz10,        // Hz in the text, floor(f * 0.1) stored (10 Hz units)
    Hz100,       // Hz in the text, floor(f * 0.01) stored (100 Hz units)
    MHz,         // Hz in the text, round(f * 0.000001) stored
    ClampedI16,  // limited to -65536..65535, low 16 bits stored
};

// Where a reader starts looking for its section.
enum class Search : std::uint8_t {
    Forward,  // from where the previous reader stopped
    Rewind,   // from the start of the text
};

// The identifier of an instance: prefix + path letter + suffix, or the prefix
// alone when the type has no path letter.
struct Naming {
    const char* prefix;
    const char* suffix;
    std::string of(std::uint32_t instance) const;
};

// Kind 1: a record of keyed fields.
struct RecordField {
    const char* key;       // the key as written (with its ':')
    std::uint16_t offset;  // in the block
    Element element;
    std::uint8_t width;  // bytes of a Word field (its last byte stays 0)
    bool searched;       // false: taken by position, after the next ':'
};

struct RecordLayout {
    std::uint16_t id;
    const char* identifier;
    std::uint16_t size;
    Search search;
    const char* comments;  // complete comment lines, each ending in '\n'
    const RecordField* fields;
    std::size_t fieldCount;
    std::size_t keyWidth;  // keys are written padded to this width
    // The overload counters take their identifier from the text: the next
    // "ID:" line naming this record or its sibling decides the block id.
    std::uint16_t siblingId;
    const char* siblingIdentifier;
};

// Kind 2: a count (0 or 1) and one 32-bit value at 12.
struct SingleValueLayout {
    std::uint16_t id;
    const char* identifier;
    std::uint8_t countWidth;  // bytes of the stored count (1 or 4)
    const char* comments;
};

// Kind 3: a counted list.
enum class ListShape : std::uint8_t {
    Lines,          // one value per line: number ":" value
    ZeileLines,     // "LEV_PRE_TAB:" before the comment, "Zeile" before every number
    OneLine,        // all values on the "1:" line, no empty line after the section
    NineLowpasses,  // nine counted lists, one per lowpass, counts at 8-43
};

struct ListLayout {
    std::uint16_t baseId;
    std::uint8_t instances;
    Naming name;
    std::uint16_t size;
    Search search;
    bool idLabelFirst;      // searches "ID:" before the identifier; COUNT: is then required
    bool emptyWhenMissing;  // an absent section gives id 0 and zero payload
    const char* countKey;
    std::uint8_t countWidth;  // bytes of the stored count (1, 2 or 4)
    std::int32_t limit;
    Element element;
    Scale scale;
    std::uint16_t capacity;  // slots (per lowpass for NineLowpasses)
    std::uint16_t elementOffset;
    ListShape shape;
    std::uint8_t firstNumber;  // the running number of the first value line
    const char*
        formats[3];  // printf formats of the values by index (the last repeats); null: exact
    const char* comments;
};

// Kind 4: values counted by the companion frequency block.
struct CompanionLayout {
    std::uint16_t baseId;
    std::uint8_t instances;
    Naming name;
    Naming companion;
    std::uint16_t size;
    std::uint8_t countWidth;
    std::int32_t limit;
    Element element;
    Scale scale;
    std::uint16_t capacity;
    // 0: one value per entry. 1-4: the entries hold five values (frequency,
    // gain I, phase I, gain Q, phase Q) and this one is kept.
    std::uint8_t column;
    const char* comments;
};

template <typename Row>
struct RowSpan {
    const Row* first;
    std::size_t count;
    const Row* begin() const { return first; }
    const Row* end() const { return first + count; }
};

RowSpan<RecordLayout> recordLayouts();
RowSpan<SingleValueLayout> singleValueLayouts();
RowSpan<ListLayout> listLayouts();
RowSpan<CompanionLayout> companionLayouts();

// Bytes of one stored element.
std::size_t elementWidth(Element element);

}  // namespace quenmap
