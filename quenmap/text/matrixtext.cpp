#include "matrixtext.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>

#include "imagebuilder.h"
#include "primitives.h"
#include "textformat.h"
#include "textlabels.h"

namespace quenmap {

namespace {

// ---- cells --------------------------------------------------------------------

// A stored matrix value and how the text writes and reads it.
enum class Cell : std::uint8_t {
    I8,   // read as an integer, low byte stored, written signed
    U8,   // read as an unsigned integer, low byte stored, written unsigned
    I16,  // read as a 32-bit integer, low 16 bits stored, written signed
    U16,  // read as an unsigned integer, low 16 bits stored, written unsigned
    I32,
    U32,
    F64,  // written as the shortest text that reads back the same
};

std::size_t widthOf(Cell cell) {
    switch (cell) {
        case Cell::I8:
        case Cell::U8:
            return 1;
        case Cell::I16:
        case Cell::U16:
            return 2;
        case Cell::F64:
            return 8;
        default:
            return 4;
    }
}

// Reads one value of the text as the bits of the cell.
std::uint64_t readCell(std::istream& in, const std::string& name, Cell cell) {
    switch (cell) {
        case Cell::U8:
        case Cell::U16:
        case Cell::U32:
            return readValue<std::uint32_t>(in, name);
        case Cell::F64: {
            return bitsOf(readValue<double>(in, name));
        }
        default:
            return static_cast<std::uint32_t>(readValue<std::int32_t>(in, name));
    }
}

// The low `width` bytes of each value, little-endian, side by side from
// offset on; what would not fit the image is dropped, as by single stores.
void storeLowBytes(Bytes& bytes, std::size_t offset, std::size_t width, const std::uint32_t* values,
                   std::size_t count) {
    if (!fits(bytes, offset, count * width)) {
        for (std::size_t i = 0; i < count; ++i)
            writeRaw(bytes, offset + i * width, width, values[i]);
        return;
    }
    std::uint8_t* at = bytes.data() + offset;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t b = 0; b < width; ++b)
            *at++ = static_cast<std::uint8_t>(values[i] >> (8 * b));
    }
}

// count cells of one kind, side by side from offset on: the whole numbers
// read together, as they stand in the text.
void readCells(std::istream& in, const std::string& name, Cell cell, ImageBuilder& image,
               std::size_t offset, std::size_t count) {
    const std::size_t width = widthOf(cell);
    if (cell == Cell::F64) {
        for (std::size_t i = 0; i < count; ++i)
            image.setRaw(offset + i * width, width, readCell(in, name, cell));
        return;
    }
    const bool isUnsigned = cell == Cell::U8 || cell == Cell::U16 || cell == Cell::U32;
    std::uint32_t unsignedValues[32];
    std::int32_t signedValues[32];
    for (std::size_t done = 0; done < count;) {
        const std::size_t part = std::min<std::size_t>(count - done, 32);
        if (isUnsigned) {
            readValues(in, name, unsignedValues, part);
        } else {
            readValues(in, name, signedValues, part);
        }
        const std::uint32_t* raw =
            isUnsigned ? unsignedValues : reinterpret_cast<const std::uint32_t*>(signedValues);
        storeLowBytes(image.bytes(), offset + done * width, width, raw, part);
        done += part;
    }
}

// Appends the text of one cell: integers in decimal, reals so that they read back.
void appendCell(LineBuffer& line, const Bytes& bytes, std::size_t offset, Cell cell) {
    switch (cell) {
        case Cell::I8:
            line.appendInteger(static_cast<std::int8_t>(readU8(bytes, offset)));
            break;
        case Cell::U8:
            line.appendUnsigned(readU8(bytes, offset));
            break;
        case Cell::I16:
            line.appendInteger(static_cast<std::int16_t>(readU16(bytes, offset)));
            break;
        case Cell::U16:
            line.appendUnsigned(readU16(bytes, offset));
            break;
        case Cell::I32:
            line.appendInteger(static_cast<std::int32_t>(readU32(bytes, offset)));
            break;
        case Cell::U32:
            line.appendUnsigned(readU32(bytes, offset));
            break;
        case Cell::F64:
            line.append(exactText(doubleOf(readU64(bytes, offset))));
            break;
    }
}

// count cells of one kind side by side from offset on, each after the
// separator. The large matrices are written so: the kind is looked at and
// the bounds checked once for the row, not once for every cell.
void appendCells(LineBuffer& line, const Bytes& bytes, std::size_t offset, std::size_t count,
                 Cell cell, std::string_view separator) {
    const std::size_t width = widthOf(cell);
    if (cell == Cell::F64 || !fits(bytes, offset, count * width)) {
        for (std::size_t i = 0; i < count; ++i) {
            line.append(separator);
            appendCell(line, bytes, offset + i * width, cell);
        }
        return;
    }
    const std::uint8_t* at = bytes.data() + offset;
    auto each = [&](auto valueAt) {
        for (std::size_t i = 0; i < count; ++i) {
            line.append(separator);
            line.appendInteger(valueAt(at + i * width));
        }
    };
    auto u16 = [](const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); };
    auto u32 = [](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    };
    switch (cell) {
        case Cell::I8:
            each([](const std::uint8_t* p) { return static_cast<std::int8_t>(*p); });
            break;
        case Cell::U8:
            each([](const std::uint8_t* p) { return *p; });
            break;
        case Cell::I16:
            each([&](const std::uint8_t* p) { return static_cast<std::int16_t>(u16(p)); });
            break;
        case Cell::U16:
            each(u16);
            break;
        case Cell::I32:
            each([&](const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); });
            break;
        default:
            each(u32);
            break;
    }
}

// A count is never negative: "-1" stands for the huge number it would be unsigned.
std::int64_t readCountValue(std::istream& in, const std::string& name) {
    long long count = readValue<long long>(in, name);
    return count < 0 ? std::numeric_limits<std::int64_t>::max() : count;
}

// Prefix, path letter and suffix; the prefix alone for a type without paths.
struct Naming {
    const char* prefix;
    const char* suffix;
    std::string of(std::uint32_t instance) const {
        if (suffix == nullptr) return prefix;
        return std::string(prefix) + static_cast<char>('A' + instance) + suffix;
    }
};

// A count kept in the block: its offset and width (0: not kept).
struct Slot {
    std::uint16_t offset;
    std::uint8_t width;
};

std::uint32_t slotValue(const Bytes& bytes, Slot slot) {
    switch (slot.width) {
        case 1:
            return readU8(bytes, slot.offset);
        case 2:
            return readU16(bytes, slot.offset);
        case 4:
            return readU32(bytes, slot.offset);
        default:
            return 0;
    }
}

void storeSlot(ImageBuilder& image, Slot slot, std::int64_t value) {
    if (slot.width == 2) image.setU16(slot.offset, static_cast<std::uint16_t>(value));
    if (slot.width == 4) image.setU32(slot.offset, static_cast<std::uint32_t>(value));
}

constexpr Slot kNoSlot{0, 0};
const char kRowSeparator[] = "\t\t ";

template <typename Row>
bool holds(const Row& row, std::uint16_t id) {
    return id >= row.baseId && id - row.baseId < row.instances;
}

template <typename Row, std::size_t N>
const Row* findRow(const Row (&rows)[N], std::uint16_t id) {
    for (const Row& row : rows) {
        if (holds(row, id)) return &row;
    }
    return nullptr;
}

// ---- matrices whose columns are the companion's frequencies ----------------------

// How the reader finds the section.
enum class Order : std::uint8_t {
    // The level matrices: the own identifier decides whether the block is
    // there; then the frequency block's count, and the next "COUNT:" after it
    // is the matrix's own (it follows its frequency block directly).
    OwnThenFrequency,
    // As above, but the own identifier is found again before its "COUNT:".
    OwnThenFrequencyThenOwn,
    // The attenuator matrices: the frequency block, then the own identifier.
    FrequencyThenOwn,
};

enum class RowLabel : std::uint8_t {
    Number,       // r + ": ", from 0
    Attenuation,  // the attenuation 0, 5, 10, ... + ":"
};

enum class CountLine : std::uint8_t {
    TimesCompanion,  // rows + " *" + "COUNT_OF_" + frequency identifier
    TimesColumns,    // rows + " * " + columns
    Fixed,           // the fixed expression of the row, 26 rows written
};

struct FrequencyMatrix {
    std::uint16_t baseId;
    std::uint8_t instances;
    Naming name;
    Naming frequency;
    std::uint16_t size;
    Order order;
    bool emptyWhenMissing;  // an absent section gives id 0 and a zero payload
    Cell cell;
    std::uint16_t rows;            // row capacity, the limit of the row count
    std::uint16_t columns;         // column capacity, the limit of the frequency count
    std::uint8_t valuesPerColumn;  // 2 for the (level, correction) pairs
    std::uint16_t valueOffset;
    Slot rowCount;
    Slot columnCount;
    const char* leadKey;  // a value read before the count ("VTemp:", signed 16 at 8)
    const char* marker;   // the word the reader finds before the rows
    std::int32_t fill;    // the no-value mark of missing columns and rows
    RowLabel label;
    CountLine countLine;
    const char* fixedCount;  // CountLine::Fixed
    const char* separator;   // before every value of a row
    const char* comments;
    const char* commentsAfterCount;
};

constexpr std::size_t kFixedRowsWritten = 26;
constexpr std::uint16_t kTempMarkOffset = 8;

#define QM_USER_DATA "#Das sind die Userdaten \n"
#define QM_ATT_AFTER_COUNT "# f[10Hz]\n#  ATTENUATOR_CORRECTION [1/100dB]\n"
#define QM_TEMP_AFTER_COUNT "# f[10Hz]\n# TEMPERATURE_GRADIENT [((TK+1)*50)] \n"

constexpr Order OF = Order::OwnThenFrequency;
constexpr Order OFO = Order::OwnThenFrequencyThenOwn;
constexpr Order FO = Order::FrequencyThenOwn;
constexpr RowLabel NUM = RowLabel::Number;
constexpr RowLabel ATT = RowLabel::Attenuation;
constexpr CountLine TIMES = CountLine::TimesCompanion;

// clang-format off
const FrequencyMatrix kFrequencyMatrices[] = {
    // id, instances, name, frequency, size, order, empty when missing, cell, rows, columns,
    // values per column, value offset, row count, column count, lead key, marker, fill,
    // label, count line, fixed count, separator, comments, comments after the count
    {12060, 4, {"EXT_CAL_DAT_", "_LEVEL"}, {"EXT_CAL_DAT_", "_FREQ"}, 3652, OF, true,
     Cell::I16, 7, 260, 1, 12, {8, 2}, kNoSlot, nullptr, nullptr, 0, NUM, TIMES, nullptr,
     kRowSeparator, "# Das sind die Externen Kalibrierdaten \n", ""},
    {12160, 4, {"EXT_CAL_DAT_", "_LEVEL_2_EDITION"}, {"EXT_CAL_DAT_", "_FREQ_2_EDITION"}, 3652, OF,
     true, Cell::I16, 7, 260, 1, 12, {8, 2}, kNoSlot, nullptr, nullptr, 0, NUM, TIMES, nullptr,
     kRowSeparator, "# Userdaten \n", ""},
    {12080, 2, {"EXT_CAL_DAT_", "_LEVEL_ENH"}, {"EXT_CAL_DAT_", "_FREQ_ENH"}, 7012, OF, true,
     Cell::I16, 7, 500, 1, 12, {8, 2}, kNoSlot, nullptr, nullptr, 0, NUM, TIMES, nullptr,
     kRowSeparator, "# Das sind die Externen Kalibrierdaten \n", ""},
    {12095, 2, {"EXT_CAL_DAT_", "_LEVEL_2_EDITION_ENH"}, {"EXT_CAL_DAT_", "_FREQ_2_EDITION_ENH"},
     13012, OF, true, Cell::I16, 13, 500, 1, 12, {8, 2}, kNoSlot, nullptr, nullptr, 0, NUM, TIMES,
     nullptr, kRowSeparator, "# Userdaten \n", ""},
    {12200, 4, {"CWOP3_DET_TUNE_", "_DAC"}, {"CWOP3_DET_TUNE_", "_FREQ"}, 412, OF, false,
     Cell::U32, 1, 100, 1, 12, {8, 2}, kNoSlot, nullptr, nullptr, 0, NUM, TIMES, nullptr,
     kRowSeparator, "#Userdaten: Det-Tune DAC \n", ""},
    {12292, 2, {"CWOP_DETLINCORR_", "_DATA"}, {"CWOP_DETLINCORR_", "_FREQ"}, 4012, OF, false,
     Cell::I32, 10, 50, 2, 12, {8, 2}, {10, 2}, nullptr, nullptr, 0, NUM, TIMES, nullptr,
     kRowSeparator,
     "# max number of steps 10 \n# number of steps\n"
     "# level values and corresponding correction values\n", ""},
    {12041, 1, {"LEV_CAL_DAT_LEVEL", nullptr}, {"LEV_CAL_DAT_FREQ", nullptr}, 60016, OFO, false,
     Cell::I16, 20, 1500, 1, 16, {8, 2}, {12, 2}, nullptr, nullptr, 0, NUM,
     CountLine::TimesColumns, nullptr, kRowSeparator,
     "# Pegelst\xFC" "tzstellen [dBm] \n", ""},
    {12043, 1, {"LEV_CAL_DAT_REL_CORR", nullptr}, {"LEV_CAL_DAT_FREQ", nullptr}, 60016, OFO, false,
     Cell::I16, 20, 1500, 1, 16, {8, 2}, {12, 2}, nullptr, nullptr, 0, NUM,
     CountLine::TimesColumns, nullptr, kRowSeparator, "# Externe Kalibrierdaten [1/100dBm] \n", ""},
    {12045, 1, {"ATT_CAL_DAT_CORR", nullptr}, {"ATT_CAL_DAT_FREQ", nullptr}, 8016, OFO, false,
     Cell::I16, 20, 200, 1, 16, {8, 2}, {12, 2}, nullptr, nullptr, 0, NUM,
     CountLine::TimesColumns, nullptr, kRowSeparator, "# Korrekturdaten [1/100dB] \n", ""},
    {12047, 1, {"ATT_CAL_DAT_CORR_SE", nullptr}, {"ATT_CAL_DAT_FREQ_SE", nullptr}, 20016, OFO,
     false, Cell::I16, 20, 500, 1, 16, {8, 2}, {12, 2}, nullptr, nullptr, 0, NUM,
     CountLine::TimesColumns, nullptr, kRowSeparator, "# Korrekturdaten [1/100dB] \n", ""},
    // The attenuator matrices: 27 rows in the image, 26 written; 20000 marks no value.
    {10602, 1, {"SATT3_CALIB_DATA_ATT", nullptr}, {"SATT3_CALIB_FREQ", nullptr}, 8108, FO, false,
     Cell::I16, 27, 150, 1, 8, kNoSlot, kNoSlot, nullptr, "ATTENUATOR_CORRECTION", 20000, ATT,
     CountLine::Fixed, "26 * SATT3_CALIB_FREQ", "\t\t", QM_USER_DATA, QM_ATT_AFTER_COUNT},
    {11001, 1, {"SATT6_CALIB_DATA_ATT", nullptr}, {"SATT6_CALIB_FREQ", nullptr}, 8108, FO, false,
     Cell::I16, 27, 150, 1, 8, kNoSlot, kNoSlot, nullptr, "ATTENUATOR_CORRECTION", 20000, ATT,
     CountLine::Fixed, "26 * COUNT_OF_SATT6_CALIB_FREQ", "\t\t", QM_USER_DATA, QM_ATT_AFTER_COUNT},
    {12180, 4, {"ATT_CAL_DAT_", "_LEVEL_2_EDITION"}, {"ATT_CAL_DAT_", "_FREQ_2_EDITION"}, 8112, FO,
     false, Cell::I16, 27, 150, 1, 12, {8, 2}, kNoSlot, nullptr, "ATTENUATOR_CORRECTION", 20000,
     ATT, TIMES, nullptr, "\t\t", QM_USER_DATA, QM_ATT_AFTER_COUNT},
    // The temperature gradients: one byte per value, (TK+1)*50; 50 marks no value.
    {10603, 1, {"SATT3_CALIB_DATA_TEMP", nullptr}, {"SATT3_CALIB_FREQ", nullptr}, 4060, FO, false,
     Cell::U8, 27, 150, 1, 10, kNoSlot, kNoSlot, "VTemp:", "TEMPERATURE_GRADIENT", 50, ATT,
     CountLine::Fixed, "26 * SATT3_CALIB_FREQ", "\t\t", "#Das sind die Temperaturgradienten \n",
     QM_TEMP_AFTER_COUNT},
    {11202, 1, {"SATT6_CALIB_DATA_TEMP", nullptr}, {"SATT6_CALIB_FREQ", nullptr}, 4060, FO, false,
     Cell::U8, 27, 150, 1, 10, kNoSlot, kNoSlot, "VTemp:", "TEMPERATURE_GRADIENT", 50, ATT,
     CountLine::Fixed, "26 * COUNT_OF_SATT6_CALIB_FREQ", "\t\t",
     "#Das sind die Temperaturgradienten \n", QM_TEMP_AFTER_COUNT},
};
// clang-format on

std::size_t rowStride(const FrequencyMatrix& row) {
    return static_cast<std::size_t>(row.columns) * row.valuesPerColumn * widthOf(row.cell);
}

void fillFrom(ImageBuilder& image, const FrequencyMatrix& row, std::size_t r, std::size_t first) {
    if (row.fill == 0) return;  // the image starts zeroed
    const std::size_t width = widthOf(row.cell);
    for (std::size_t c = first; c < std::size_t(row.columns) * row.valuesPerColumn; ++c) {
        image.setRaw(row.valueOffset + r * rowStride(row) + c * width, widthOf(row.cell),
                     static_cast<std::uint32_t>(row.fill));
    }
}

void readFrequencyMatrix(TextInput& text, HwDatablock& block) {
    const FrequencyMatrix* row = findRow(kFrequencyMatrices, block.id());
    if (row == nullptr) return;
    const std::uint16_t id = block.id();
    const std::uint32_t instance = id - row->baseId;
    const std::string name = row->name.of(instance);
    const std::string frequency = row->frequency.of(instance);
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(row->size);

    // The level matrices search their frequency block as required once their
    // own identifier has been found.
    bool required = flag;
    text.rewind();
    if (row->order != Order::FrequencyThenOwn) {
        if (!findKeyword(in, name, flag)) {
            image.loadInto(block, row->emptyWhenMissing ? 0 : id);
            return;
        }
        text.rewind();
        required = true;
    }
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    bool present = findKeyword(in, frequency, required) && findKeyword(in, "COUNT:", required);
    if (present) {
        columns = readCountValue(in, frequency);
        // More frequencies than a row holds would run past the row.
        checkCount(columns, row->columns, frequency);
        if (row->order != Order::OwnThenFrequency) present = findKeyword(in, name, flag);
    }
    if (present && row->leadKey != nullptr) {
        present = findKeyword(in, row->leadKey, flag);
        if (present) {
            image.setU16(kTempMarkOffset,
                         static_cast<std::uint16_t>(readValue<std::int16_t>(in, name)));
        }
    }
    if (present) {
        present = findKeyword(in, "COUNT:", required);
        if (present) {
            rows = readCountValue(in, name);
            // The image has no room for more rows.
            checkCount(rows, row->rows, name);
        }
    }
    if (present && row->marker != nullptr) present = findKeyword(in, row->marker, flag);
    if (!present) rows = 0;

    const std::size_t valuesInRow = static_cast<std::size_t>(columns) * row->valuesPerColumn;
    std::size_t r = 0;
    for (; r < static_cast<std::size_t>(rows); ++r) {
        if (!skipToChar(in, ':', flag)) break;
        readCells(in, name, row->cell, image, row->valueOffset + r * rowStride(*row), valuesInRow);
        fillFrom(image, *row, r, valuesInRow);
    }
    for (; r < row->rows; ++r) fillFrom(image, *row, r, 0);
    storeSlot(image, row->rowCount, rows);
    storeSlot(image, row->columnCount, columns);
    image.loadInto(block, id);
}

void writeFrequencyMatrix(std::ostream& out, const HwDatablock& block, const FrequencyMatrix& row) {
    const Bytes& bytes = block.bytes();
    const std::uint32_t instance = block.id() - row.baseId;
    out << row.comments << kIdLabel << row.name.of(instance) << '\n';
    if (row.leadKey != nullptr) {
        out << paddedKey(row.leadKey) << static_cast<std::int16_t>(readU16(bytes, kTempMarkOffset))
            << '\n';
    }
    std::size_t rows = std::min<std::size_t>(slotValue(bytes, row.rowCount), row.rows);
    std::size_t columns = row.columns;
    if (row.columnCount.width != 0) {
        columns = std::min<std::size_t>(slotValue(bytes, row.columnCount), row.columns);
    }
    out << paddedKey("COUNT:");
    switch (row.countLine) {
        case CountLine::TimesCompanion:
            out << rows << " *COUNT_OF_" << row.frequency.of(instance);
            break;
        case CountLine::TimesColumns:
            out << rows << " * " << columns;
            break;
        case CountLine::Fixed:
            // The 27th row of the image has no line.
            out << row.fixedCount;
            rows = kFixedRowsWritten;
            break;
    }
    out << '\n' << row.commentsAfterCount;
    // The rows are built in one buffer and written in large pieces: the
    // matrices are the largest texts the tool writes.
    const std::string_view separator = row.separator;
    LineBuffer line;
    for (std::size_t r = 0; r < rows; ++r) {
        if (row.label == RowLabel::Attenuation) {
            line.appendUnsigned(5 * r);
            line.append(':');
        } else {
            line.appendUnsigned(r);
            line.append(": ");
        }
        appendCells(line, bytes, row.valueOffset + r * rowStride(row),
                    columns * row.valuesPerColumn, row.cell, separator);
        line.append('\n');
        line.writeWhenFull(out);
    }
    line.writeAll(out);
    out << '\n';
}

// ---- tables of fields per frequency row ----------------------------------------------

// One value of a row: where the value of row r (and repetition k) lies.
struct RowField {
    Cell cell;
    std::uint16_t offset;
    std::uint16_t rowStride;
    std::uint8_t repeat;  // values of this field in a row; 0: one per state
    std::uint16_t repeatStride;
    bool kept;  // false: read and dropped (the block does not hold it)
};

struct FieldTable {
    std::uint16_t baseId;
    std::uint8_t instances;
    const char* name;
    const char* frequency;  // its "COUNT:" gives the rows; null: fixedRows
    const char* states;     // its "COUNT_BZ:" gives the states of a row; null: none
    std::uint16_t size;
    std::uint16_t rows;  // capacity (and the rows written)
    std::uint16_t fixedRows;
    std::uint16_t stateLimit;
    Slot rowCount;  // stores the rows read
    const RowField* fields;
    std::size_t fieldCount;
    std::uint8_t firstNumber;  // the label of the first row
    const char* comments;
};

// Four 16-bit values per frequency: CW gain, AM gain and two reserves.
const RowField kAmGainFields[] = {{Cell::I16, 8, 8, 4, 2, true}};
// The frequency of a row lives in IQOP6_CALIB_DATA_FREQ; the table only reads
// past it, and its writer puts 0 there.
const RowField kIqOp6Fields[] = {
    {Cell::F64, 0, 0, 1, 0, false},
    {Cell::U8, 8, 1, 1, 0, true},
    {Cell::U8, 78, 1, 1, 0, true},
    {Cell::U16, 148, 2, 0, 140, true},
};
// The text's columns GAIN, DET OFFSET, REF OFFSET.
const RowField kAduOffsetFields[] = {
    {Cell::F64, 12, 24, 1, 0, true},
    {Cell::F64, 28, 24, 1, 0, true},
    {Cell::F64, 20, 24, 1, 0, true},
};

#define QM_FIELDS(array) array, sizeof(array) / sizeof(array[0])

// clang-format off
const FieldTable kFieldTables[] = {
    {10501, 1, "CWOP3_6_AM_GAIN_DATA", "CWOP3_6_AM_GAIN_FREQ", nullptr, 1608, 200, 0, 0, kNoSlot,
     QM_FIELDS(kAmGainFields), 1,
     "# Das sind die AM-Gain Daten\n"
     "FreqIndex   CW_GAIN   AM_GAIN    RESERVE1    RESERVE2\n"},
    {10902, 1, "IQOP6_CALIB_DATA", "IQOP6_CALIB_DATA_FREQ", "IQOP6_PMAX_BZ", 4628, 70, 0, 32,
     kNoSlot, QM_FIELDS(kIqOp6Fields), 0,
     "# DAWERT-Kalibriertabelle: in einer Zeile: lfd. Nr., Frequenz , LEVATT_20, LEVATT_40, "
     "DAWERT[BZ1], DAWERT[BZ2],  ...\n"},
    {15652, 1, "ADU_OFFSET_CAL_DATA", nullptr, nullptr, 204, 8, 8, 0, {8, 4},
     QM_FIELDS(kAduOffsetFields), 1,
     "# Das sind die Offset-Kalibrierwerte des HF-Detektor-Pfades und die "
     "Offset-Kalibrierwerte des Referenzdetektor-Pfades\n"
     "#\n"
     "# Offset-Kalibrierwerte: fest , nicht variabel , da mehr Werte nicht automatisch in der "
     "Firmware ausgewertet werden\n"
     "# Bei einer Erweiterung muss die Firmware angepasst werden\n"
     "# Kennung der Erweiterung \xFC" "ber \xC4" "nderung des Wertes TESTINSTRUCTION\n"
     "# Reihenfolge \xFC" "ber ansteigende Wert von GAIN notwendig\n"},
};
// clang-format on

std::size_t repeatOf(const RowField& field, std::size_t states) {
    return field.repeat == 0 ? states : field.repeat;
}

std::size_t fieldOffset(const RowField& field, std::size_t r, std::size_t k) {
    return field.offset + r * field.rowStride + k * field.repeatStride;
}

void readFieldTable(TextInput& text, HwDatablock& block) {
    const FieldTable* row = findRow(kFieldTables, block.id());
    if (row == nullptr) return;
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(row->size);
    text.rewind();
    std::int64_t states = 0;
    std::int64_t rows = row->fixedRows;
    bool present = true;
    if (row->states != nullptr) {
        present = findKeyword(in, row->states, flag) && findKeyword(in, "COUNT_BZ:", flag);
        if (present) {
            states = readCountValue(in, row->states);
            checkCount(states, row->stateLimit, row->states);
        }
    }
    if (present && row->frequency != nullptr) {
        present = findKeyword(in, row->frequency, flag) && findKeyword(in, "COUNT:", flag);
        if (present) {
            rows = readCountValue(in, row->frequency);
            checkCount(rows, row->rows, row->frequency);
        }
    }
    // The board lists write some tables before their frequency block.
    if (present) text.rewind();
    present = present && findKeyword(in, row->name, flag);
    if (!present) rows = 0;
    for (std::size_t r = 0; r < static_cast<std::size_t>(rows); ++r) {
        if (!skipToChar(in, ':', flag)) break;
        for (std::size_t f = 0; f < row->fieldCount; ++f) {
            const RowField& field = row->fields[f];
            for (std::size_t k = 0; k < repeatOf(field, states); ++k) {
                std::uint64_t raw = readCell(in, row->name, field.cell);
                if (field.kept) image.setRaw(fieldOffset(field, r, k), widthOf(field.cell), raw);
            }
        }
    }
    storeSlot(image, row->rowCount, rows);
    image.loadInto(block, row->baseId);
}

void writeFieldTable(std::ostream& out, const HwDatablock& block, const FieldTable& row) {
    const Bytes& bytes = block.bytes();
    out << row.comments << kIdLabel << row.name << '\n';
    // The block keeps no count: every row and every state slot is written.
    LineBuffer line;
    for (std::size_t r = 0; r < row.rows; ++r) {
        line.appendUnsigned(r + row.firstNumber);
        line.append(':');
        for (std::size_t f = 0; f < row.fieldCount; ++f) {
            const RowField& field = row.fields[f];
            for (std::size_t k = 0; k < repeatOf(field, row.stateLimit); ++k) {
                line.append('\t');
                if (field.kept) {
                    appendCell(line, bytes, fieldOffset(field, r, k), field.cell);
                } else {
                    line.append('0');
                }
            }
        }
        line.append('\n');
        line.writeWhenFull(out);
    }
    line.writeAll(out);
    out << '\n';
}

// ---- labelled groups: the lowpass responses and the attenuator responses ----------

struct LabelledGroups {
    std::uint16_t baseId;
    std::uint8_t instances;
    Naming name;
    Naming frequency;
    std::uint16_t size;
    std::uint8_t groups;  // lowpasses (one "COUNT:" each in the frequency block)
    std::uint8_t levels;  // label sets per group
    std::uint16_t rowsPerLevel;
    std::uint8_t valuesPerRow;
    Cell cell;
    std::uint16_t valueOffset;
    // Label of group n, level q (both from 1), e.g. "LP" n "IQPEP" q "A".
    std::string (*label)(std::size_t n, std::size_t q);
    const char* levelHeading;  // "#iqpep" + q
    // Comment lines before each group's levels ("#TIEFPASS NR. " n ...); null: none.
    void (*groupHeading)(std::ostream& out, std::size_t n);
    const char* comments;
};

std::string lowpassAmplitudeLabel(std::size_t n, std::size_t q) {
    return "LP" + std::to_string(n) + "IQPEP" + std::to_string(q) + "A";
}
std::string lowpassPhaseLabel(std::size_t n, std::size_t q) {
    return "LP" + std::to_string(n) + "IQPEP" + std::to_string(q) + "P";
}
std::string attenuatorLabel(std::size_t, std::size_t q) {
    return "ATT" + std::to_string(q);
}
void lowpassAmplitudeHeading(std::ostream& out, std::size_t n) {
    out << "#TIEFPASS NR. " << n << '\n'
        << "# Das sind die Amplitudenwerte [Skalierung: x*460, x*300, x*190, (x-1)*3200] fuer den "
        << n << ". TP\n";
}
void lowpassPhaseHeading(std::ostream& out, std::size_t n) {
    out << "#TIEFPASS NR. " << n << '\n'
        << "# Das sind die Phasenwerte [Skalierung: x*3] fuer den " << n << ". TP\n";
}

// clang-format off
const LabelledGroups kLabelledGroups[] = {
    {12230, 4, {"PATH_", "_RF_RESPONSE_LP_AMP"}, {"PATH_", "_RF_RESPONSE_LP_FREQ"}, 21644, 9, 4,
     150, 4, Cell::I8, 44, &lowpassAmplitudeLabel, "#iqpep", &lowpassAmplitudeHeading,
     "#Das sind die Amplitudenwerte f\xFC" "r die Tiefp\xE4" "sse \n"},
    {12240, 4, {"PATH_", "_RF_RESPONSE_LP_PH"}, {"PATH_", "_RF_RESPONSE_LP_FREQ"}, 21644, 9, 4,
     150, 4, Cell::I8, 44, &lowpassPhaseLabel, "#iqpep", &lowpassPhaseHeading,
     "#Das sind die Phasenwerte f\xFC" "r die Tiefp\xE4" "sse \n"},
    {12270, 4, {"PATH_", "_RF_RESPONSE_ATT_AMP"}, {"PATH_", "_RF_RESPONSE_ATT_FREQ"}, 9612, 1, 6,
     200, 2, Cell::I32, 12, &attenuatorLabel, "#att", nullptr,
     "# Das sind die Amplitudenwerte bei D\xE4" "mpfungsgliedern [1*10000] \n"},
};
// clang-format on

constexpr std::size_t kGroupCountOffset = 8;

std::size_t groupValueOffset(const LabelledGroups& row, std::size_t n, std::size_t q, std::size_t i,
                             std::size_t k) {
    const std::size_t rowIndex = (n * row.levels + q) * row.rowsPerLevel + i;
    return row.valueOffset + (rowIndex * row.valuesPerRow + k) * widthOf(row.cell);
}

using LabelPositions = std::unordered_map<std::string, std::istream::pos_type>;

// From the stream's position on, where each row label that will be read
// first stands (just after it, as a keyword search would leave the stream).
LabelPositions findLabels(std::istream& in, const LabelledGroups& row, const std::int64_t* counts) {
    LabelPositions wanted;
    for (std::size_t n = 0; n < row.groups; ++n) {
        if (counts[n] == 0) continue;
        for (std::size_t q = 0; q < row.levels; ++q) {
            wanted.emplace(row.label(n + 1, q + 1), std::istream::pos_type(-1));
        }
    }
    // Most tokens are values: only those that begin as some label does are looked up.
    CharSet leading{};
    std::size_t firstCharacters = 0;
    for (const auto& label : wanted) {
        bool& known = leading[static_cast<unsigned char>(label.first[0])];
        firstCharacters += known ? 0 : 1;
        known = true;
    }
    const char onlyFirst = wanted.empty() ? '\0' : wanted.begin()->first[0];
    auto nextCandidate = [&](std::string& token) {
        return firstCharacters == 1 ? readTokenStartingWith(in, token, onlyFirst)
                                    : readTokenStartingWith(in, token, leading);
    };
    LabelPositions found;
    std::string token, previous;
    while (found.size() < wanted.size() && nextCandidate(token)) {
        // A token that ran into the end of the text is not taken, as in findKeyword.
        if (in.eof()) break;
        // Every row repeats its label: the row before's is already known.
        if (token == previous) continue;
        previous = token;
        auto label = wanted.find(token);
        if (label != wanted.end() && found.count(token) == 0) found.emplace(token, in.tellg());
    }
    return found;
}

void readLabelledGroups(TextInput& text, HwDatablock& block) {
    const LabelledGroups* row = findRow(kLabelledGroups, block.id());
    if (row == nullptr) return;
    const std::uint16_t id = block.id();
    const std::uint32_t instance = id - row->baseId;
    const std::string name = row->name.of(instance);
    const std::string frequency = row->frequency.of(instance);
    const bool flag = block.flag() != 0;
    std::istream& in = text.stream();
    ImageBuilder image(row->size);
    text.rewind();
    std::int64_t counts[16] = {};
    bool present = findKeyword(in, frequency, flag);
    for (std::size_t n = 0; present && n < row->groups; ++n) {
        present = findKeyword(in, "COUNT:", flag);
        if (!present) break;
        counts[n] = readCountValue(in, frequency);
        checkCount(counts[n], row->rowsPerLevel, frequency);
        image.setU32(kGroupCountOffset + 4 * n, static_cast<std::uint32_t>(counts[n]));
    }
    present = present && findKeyword(in, name, flag);
    // The labels repeat in the section of every path: each is searched from
    // this block's own identifier on, not from the start of the text. One
    // pass notes where each label first stands, so that the section is not
    // read again for every label.
    const std::istream::pos_type section = present ? in.tellg() : std::istream::pos_type(-1);
    const LabelPositions positions = present ? findLabels(in, *row, counts) : LabelPositions{};
    for (std::size_t n = 0; present && n < row->groups; ++n) {
        // A lowpass without frequencies has no rows and so no label to find.
        if (counts[n] == 0) continue;
        for (std::size_t q = 0; present && q < row->levels; ++q) {
            const std::string label = row->label(n + 1, q + 1);
            in.clear();
            auto found = positions.find(label);
            if (found != positions.end()) {
                in.seekg(found->second);
            } else {
                in.seekg(section);
                present = findKeyword(in, label, flag);
            }
            for (std::size_t i = 0; present && i < static_cast<std::size_t>(counts[n]); ++i) {
                present = skipToChar(in, ':', flag);
                if (present) {
                    readCells(in, name, row->cell, image, groupValueOffset(*row, n, q, i, 0),
                              row->valuesPerRow);
                }
            }
        }
    }
    image.loadInto(block, id);
}

void writeLabelledGroups(std::ostream& out, const HwDatablock& block, const LabelledGroups& row) {
    const Bytes& bytes = block.bytes();
    out << row.comments << kIdLabel << row.name.of(block.id() - row.baseId) << '\n';
    for (std::size_t n = 0; n < row.groups; ++n) {
        const std::size_t count =
            std::min<std::size_t>(readU32(bytes, kGroupCountOffset + 4 * n), row.rowsPerLevel);
        if (row.groupHeading != nullptr) row.groupHeading(out, n + 1);
        for (std::size_t q = 0; q < row.levels; ++q) {
            out << row.levelHeading << q + 1 << '\n';
            const std::string label = row.label(n + 1, q + 1);
            LineBuffer line;
            for (std::size_t i = 0; i < count; ++i) {
                line.append(label);
                line.append(' ');
                line.appendUnsigned(i + 1);
                line.append(": ");
                appendCells(line, bytes, groupValueOffset(row, n, q, i, 0), row.valuesPerRow,
                            row.cell, kRowSeparator);
                line.append('\n');
                line.writeWhenFull(out);
            }
            line.writeAll(out);
            out << '\n';
        }
        out << '\n';
    }
}

}  // namespace

TextReader matrixReaderFor(std::uint16_t blockId) {
    if (findRow(kFrequencyMatrices, blockId) != nullptr) return &readFrequencyMatrix;
    if (findRow(kFieldTables, blockId) != nullptr) return &readFieldTable;
    if (findRow(kLabelledGroups, blockId) != nullptr) return &readLabelledGroups;
    return nullptr;
}

bool writeMatrixText(std::ostream& out, const HwDatablock& block) {
    const std::uint16_t id = block.id();
    if (const FrequencyMatrix* matrix = findRow(kFrequencyMatrices, id)) {
        writeFrequencyMatrix(out, block, *matrix);
    } else if (const FieldTable* table = findRow(kFieldTables, id)) {
        writeFieldTable(out, block, *table);
    } else if (const LabelledGroups* groups = findRow(kLabelledGroups, id)) {
        writeLabelledGroups(out, block, *groups);
    } else {
        return false;
    }
    return true;
}

const LayoutTable& matrixLayoutTable() {
    static const LayoutTable table{&matrixReaderFor, &writeMatrixText};
    return table;
}

}  // namespace quenmap
