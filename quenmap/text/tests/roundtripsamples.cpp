#include "roundtripsamples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "datablocks/tables/hwtabledatablock.h"
#include "driver/blockselection.h"
#include "text/layouts/valuelayout.h"

namespace quenmap::test {

// ---- numbers ------------------------------------------------------------------------

std::uint64_t Rng::next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Rng::below(std::uint64_t bound) {
    return bound == 0 ? 0 : next() % bound;
}

std::int64_t Rng::between(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(high - low) + 1));
}

namespace {

void put(Bytes& image, std::size_t offset, std::size_t width, std::uint64_t raw) {
    for (std::size_t i = 0; i < width; ++i) {
        image.at(offset + i) = static_cast<std::uint8_t>(raw >> (8 * i));
    }
}

std::uint64_t get(const Bytes& image, std::size_t offset, std::size_t width) {
    std::uint64_t raw = 0;
    for (std::size_t i = 0; i < width; ++i) {
        raw |= static_cast<std::uint64_t>(image.at(offset + i)) << (8 * i);
    }
    return raw;
}

Bytes emptyImage(std::uint16_t id, std::size_t size) {
    Bytes image(size, 0);
    put(image, 0, 2, id);
    put(image, 2, 2, size);
    return image;
}

std::uint64_t doubleBits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint32_t floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A finite double of any normal magnitude a calibration value can have: often
// a short decimal, otherwise arbitrary bits with a moderate exponent.
double anyDouble(Rng& rng) {
    if (rng.oneIn(3)) {
        return static_cast<double>(rng.between(-2000000000, 2000000000)) /
               std::pow(10.0, static_cast<double>(rng.below(7)));
    }
    std::uint64_t bits = rng.next() & 0x800FFFFFFFFFFFFFull;
    bits |= static_cast<std::uint64_t>(1023 + rng.between(-100, 100)) << 52;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float anyFloat(Rng& rng) {
    std::uint32_t bits = static_cast<std::uint32_t>(rng.next()) & 0x807FFFFFu;
    bits |= static_cast<std::uint32_t>(127 + rng.between(-40, 40)) << 23;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The bits of an integer of `width` bytes; now and then one of the extremes
// of its signed and unsigned ranges.
std::uint64_t anyInteger(Rng& rng, std::size_t width) {
    if (!rng.oneIn(6)) return rng.next();
    const std::uint64_t signBit = std::uint64_t(1) << (8 * width - 1);
    const std::uint64_t extremes[] = {0, ~std::uint64_t(0), signBit, signBit - 1, 1};
    return extremes[rng.below(5)];
}

// A count: 0 in sample 0, the capacity in sample 1, random otherwise.
std::uint32_t pickCount(Rng& rng, std::size_t index, std::uint32_t capacity) {
    if (index == 0) return 0;
    if (index == 1) return capacity;
    return static_cast<std::uint32_t>(rng.below(std::uint64_t(capacity) + 1));
}

// Decimals of a "%.Nf" format.
int decimalsOf(const char* format) {
    const char* dot = std::strchr(format, '.');
    return dot != nullptr ? std::atoi(dot + 1) : 6;
}

// ---- records, single values, lists, companion lists ------------------------------------

template <typename Row, typename Span>
const Row* findById(Span rows, std::uint16_t id) {
    for (const Row& row : rows) {
        if (id >= row.baseId && id - row.baseId < row.instances) return &row;
    }
    return nullptr;
}

const RecordLayout* recordRow(std::uint16_t id) {
    for (const RecordLayout& row : recordLayouts()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

const SingleValueLayout* singleValueRow(std::uint16_t id) {
    for (const SingleValueLayout& row : singleValueLayouts()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

const ListLayout* listRow(std::uint16_t id) {
    return findById<ListLayout>(listLayouts(), id);
}

const CompanionLayout* companionRow(std::uint16_t id) {
    return findById<CompanionLayout>(companionLayouts(), id);
}

// A blank-free word of printable characters that no reader takes for syntax.
std::string anyWord(Rng& rng, std::size_t length) {
    static const char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-.+";
    std::string word;
    for (std::size_t i = 0; i < length; ++i)
        word.push_back(kLetters[rng.below(sizeof kLetters - 1)]);
    return word;
}

Sample recordSample(const RecordLayout& row, Rng& rng) {
    Sample sample;
    sample.image = emptyImage(row.id, row.size);
    for (std::size_t i = 0; i < row.fieldCount; ++i) {
        const RecordField& field = row.fields[i];
        switch (field.element) {
            case Element::Word: {
                // A word fills the field up to its last byte, which stays 0.
                std::string word = anyWord(rng, 1 + rng.below(field.width - 1u));
                for (std::size_t c = 0; c < word.size(); ++c) {
                    sample.image.at(field.offset + c) = static_cast<std::uint8_t>(word[c]);
                }
                break;
            }
            case Element::F32:
                put(sample.image, field.offset, 4, floatBits(anyFloat(rng)));
                break;
            default:
                put(sample.image, field.offset, elementWidth(field.element),
                    anyInteger(rng, elementWidth(field.element)));
                break;
        }
    }
    return sample;
}

Sample singleValueSample(const SingleValueLayout& row, std::size_t index, Rng& rng) {
    Sample sample;
    sample.image = emptyImage(row.id, 16);
    // The value line is written with the count 0 too, and not read then.
    const std::uint32_t count = pickCount(rng, index, 1);
    put(sample.image, 8, row.countWidth, count);
    if (count == 1) put(sample.image, 12, 4, anyInteger(rng, 4));
    return sample;
}

// One stored list element within what its text form carries.
void putElement(Sample& sample, const ListLayout& row, std::size_t offset, std::size_t index,
                Rng& rng) {
    const std::size_t width = elementWidth(row.element);
    if (row.scale != Scale::AsRead) {
        // Hz10, Hz100 and MHz store integers of the element's full range.
        put(sample.image, offset, width, anyInteger(rng, width));
        return;
    }
    const char* format = nullptr;
    for (std::size_t i = 0; i < 3 && i <= index; ++i) {
        if (row.formats[i] != nullptr) format = row.formats[i];
    }
    switch (row.element) {
        case Element::F64: {
            if (format == nullptr) {
                put(sample.image, offset, 8, doubleBits(anyDouble(rng)));
                break;
            }
            // Printed with a fixed number of decimals: back to that precision.
            const double value = static_cast<double>(rng.between(-1000000000, 1000000000)) /
                                 static_cast<double>(rng.between(1, 999));
            put(sample.image, offset, 8, doubleBits(value));
            const double half = 0.5 * std::pow(10.0, -decimalsOf(format));
            sample.approximate.push_back({offset, 8, half + std::fabs(value) * 1e-15});
            break;
        }
        case Element::F32:
            put(sample.image, offset, 4, floatBits(anyFloat(rng)));
            break;
        default:
            put(sample.image, offset, width, anyInteger(rng, width));
            break;
    }
}

// A list; counts (one, or nine for the lowpass lists) fixed by the caller or drawn.
Sample listSample(const ListLayout& row, std::uint32_t instance, std::size_t index, Rng& rng,
                  const std::vector<std::uint32_t>& counts = {}) {
    Sample sample;
    sample.image = emptyImage(static_cast<std::uint16_t>(row.baseId + instance), row.size);
    const std::size_t lists = row.shape == ListShape::NineLowpasses ? 9 : 1;
    const std::size_t width = elementWidth(row.element);
    const std::uint32_t capacity = std::min<std::uint32_t>(row.capacity, row.limit);
    for (std::size_t n = 0; n < lists; ++n) {
        const std::uint32_t count = n < counts.size() ? counts[n] : pickCount(rng, index, capacity);
        put(sample.image, 8 + 4 * n, lists == 9 ? 4 : row.countWidth, count);
        const std::size_t first = row.elementOffset + n * row.capacity * width;
        for (std::size_t i = 0; i < count; ++i) {
            // Equal neighbours of the scaled frequencies have a text form of their own.
            if (i > 0 && row.scale != Scale::AsRead && rng.oneIn(8)) {
                put(sample.image, first + i * width, width,
                    get(sample.image, first + (i - 1) * width, width));
            } else {
                putElement(sample, row, first + i * width, i, rng);
            }
        }
    }
    return sample;
}

// The list whose identifier a companion names (its frequency block).
const ListLayout* listNamed(const Naming& name, std::uint32_t instance) {
    for (const ListLayout& row : listLayouts()) {
        if (instance < row.instances && row.name.of(instance) == name.of(instance)) return &row;
    }
    return nullptr;
}

Sample companionSample(const CompanionLayout& row, std::uint32_t instance, std::size_t index,
                       Rng& rng) {
    const ListLayout* frequency = listNamed(row.companion, instance);
    if (frequency == nullptr) return {};
    const std::uint32_t capacity = std::min<std::uint32_t>(
        {row.capacity, static_cast<std::uint32_t>(row.limit), frequency->capacity,
         static_cast<std::uint32_t>(frequency->limit)});
    const std::uint32_t count = pickCount(rng, index, capacity);
    Sample sample;
    sample.companions.push_back(listSample(*frequency, instance, index, rng, {count}).image);
    sample.image = emptyImage(static_cast<std::uint16_t>(row.baseId + instance), row.size);
    put(sample.image, 8, row.countWidth, count);
    const std::size_t width = elementWidth(row.element);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = 12 + i * width;
        if (row.element == Element::F64) {
            put(sample.image, offset, 8, doubleBits(anyDouble(rng)));
        } else {
            put(sample.image, offset, width, anyInteger(rng, width));
        }
    }
    return sample;
}

// ---- matrices -------------------------------------------------------------------------

// A stored cell of a matrix family.
struct MatrixCell {
    std::uint8_t width;
    bool real;              // a double written exactly
    std::uint8_t bits = 0;  // of an integer; 0: the whole width
};
constexpr MatrixCell kByte{1, false};
constexpr MatrixCell kWord{2, false};
constexpr MatrixCell kLong{4, false};
constexpr MatrixCell kReal{8, true};
// The detector tune DAC is 16 bits wide in a 32-bit slot.
constexpr MatrixCell kDac{4, false, 16};

std::uint64_t anyCell(const MatrixCell& cell, Rng& rng) {
    if (cell.real) return doubleBits(anyDouble(rng));
    return cell.bits != 0 ? rng.below(std::uint64_t(1) << cell.bits) : anyInteger(rng, cell.width);
}

struct CountSlot {
    std::uint16_t offset;
    std::uint8_t width;  // 0: the block keeps no count
};

// A matrix of rows whose columns are the frequencies of a list block: the
// level, attenuation, temperature, detector and DAC matrices.
struct FrequencyMatrixFamily {
    std::uint16_t baseId;
    std::uint16_t frequencyBaseId;
    MatrixCell cell;
    std::uint16_t rows;  // capacity
    std::uint16_t columns;
    std::uint8_t valuesPerColumn;
    std::uint16_t valueOffset;
    CountSlot rowCount;
    CountSlot columnCount;
    std::uint16_t fixedRows;   // rows written whatever the image holds (0: its count)
    std::int32_t noValueMark;  // fills the cells the text does not carry (0: zero)
    bool leadValue;            // a signed 16-bit value at 8 ahead of the rows
};

// clang-format off
const FrequencyMatrixFamily kFrequencyMatrices[] = {
    {12060, 12050, kWord, 7, 260, 1, 12, {8, 2}, {0, 0}, 0, 0, false},
    {12160, 12150, kWord, 7, 260, 1, 12, {8, 2}, {0, 0}, 0, 0, false},
    {12080, 12070, kWord, 7, 500, 1, 12, {8, 2}, {0, 0}, 0, 0, false},
    {12095, 12090, kWord, 13, 500, 1, 12, {8, 2}, {0, 0}, 0, 0, false},
    {12200, 12190, kDac, 1, 100, 1, 12, {8, 2}, {0, 0}, 0, 0, false},
    {12292, 12290, kLong, 10, 50, 2, 12, {8, 2}, {10, 2}, 0, 0, false},
    {12041, 12040, kWord, 20, 1500, 1, 16, {8, 2}, {12, 2}, 0, 0, false},
    {12043, 12040, kWord, 20, 1500, 1, 16, {8, 2}, {12, 2}, 0, 0, false},
    {12045, 12044, kWord, 20, 200, 1, 16, {8, 2}, {12, 2}, 0, 0, false},
    {12047, 12046, kWord, 20, 500, 1, 16, {8, 2}, {12, 2}, 0, 0, false},
    {10602, 10601, kWord, 27, 150, 1, 8, {0, 0}, {0, 0}, 26, 20000, false},
    {11001, 11200, kWord, 27, 150, 1, 8, {0, 0}, {0, 0}, 26, 20000, false},
    {12180, 12170, kWord, 27, 150, 1, 12, {8, 2}, {0, 0}, 0, 20000, false},
    {10603, 10601, kByte, 27, 150, 1, 10, {0, 0}, {0, 0}, 26, 50, true},
    {11202, 11200, kByte, 27, 150, 1, 10, {0, 0}, {0, 0}, 26, 50, true},
};
// clang-format on

const FrequencyMatrixFamily* frequencyMatrix(std::uint16_t baseId) {
    for (const FrequencyMatrixFamily& row : kFrequencyMatrices) {
        if (row.baseId == baseId) return &row;
    }
    return nullptr;
}

std::uint32_t frequencyCapacity(const ListLayout& list) {
    return std::min<std::uint32_t>(list.capacity, list.limit);
}

Sample frequencyMatrixSample(const FrequencyMatrixFamily& family, const BlockType& type,
                             std::uint32_t instance, std::size_t index, Rng& rng) {
    const ListLayout* frequency = listRow(family.frequencyBaseId);
    if (frequency == nullptr) return {};
    const std::uint32_t columns = pickCount(
        rng, index, std::min<std::uint32_t>(family.columns, frequencyCapacity(*frequency)));
    const std::uint32_t rows =
        family.fixedRows != 0 ? family.fixedRows : pickCount(rng, index, family.rows);
    Sample sample;
    sample.companions.push_back(listSample(*frequency, instance, index, rng, {columns}).image);
    sample.image = emptyImage(static_cast<std::uint16_t>(family.baseId + instance), type.size);
    if (family.rowCount.width != 0)
        put(sample.image, family.rowCount.offset, family.rowCount.width, rows);
    if (family.columnCount.width != 0) {
        put(sample.image, family.columnCount.offset, family.columnCount.width, columns);
    }
    if (family.leadValue) put(sample.image, 8, 2, anyInteger(rng, 2));
    const std::size_t valuesInRow = std::size_t(family.columns) * family.valuesPerColumn;
    for (std::size_t r = 0; r < family.rows; ++r) {
        for (std::size_t c = 0; c < valuesInRow; ++c) {
            const std::size_t offset =
                family.valueOffset + (r * valuesInRow + c) * family.cell.width;
            const bool carried = r < rows && c < std::size_t(columns) * family.valuesPerColumn;
            put(sample.image, offset, family.cell.width,
                carried ? anyCell(family.cell, rng)
                        : static_cast<std::uint64_t>(family.noValueMark));
        }
    }
    return sample;
}

// Rows of fields per frequency (and per operating state): the AM gain data,
// the DAWERT table of IQOP6 and the ADU offsets.
struct RowFieldFamily {
    MatrixCell cell;
    std::uint16_t offset;
    std::uint16_t rowStride;
    std::uint8_t repeat;  // 0: one per operating state
    std::uint16_t repeatStride;
};

struct FieldTableFamily {
    std::uint16_t baseId;
    std::uint16_t frequencyBaseId;  // 0: fixedRows rows
    std::uint16_t statesBaseId;     // 0: no states
    std::uint16_t rows;
    std::uint16_t fixedRows;
    CountSlot rowCount;
    RowFieldFamily fields[4];
    std::size_t fieldCount;
};

// clang-format off
const FieldTableFamily kFieldTables[] = {
    {10501, 10500, 0, 200, 0, {0, 0}, {{kWord, 8, 8, 4, 2}}, 1},
    {10902, 10901, 10900, 70, 0, {0, 0},
     {{kByte, 8, 1, 1, 0}, {kByte, 78, 1, 1, 0}, {kWord, 148, 2, 0, 140}}, 3},
    {15652, 0, 0, 8, 8, {8, 4},
     {{kReal, 12, 24, 1, 0}, {kReal, 28, 24, 1, 0}, {kReal, 20, 24, 1, 0}}, 3},
};
// clang-format on

const FieldTableFamily* fieldTable(std::uint16_t baseId) {
    for (const FieldTableFamily& row : kFieldTables) {
        if (row.baseId == baseId) return &row;
    }
    return nullptr;
}

Sample fieldTableSample(const FieldTableFamily& family, const BlockType& type, std::size_t index,
                        Rng& rng) {
    Sample sample;
    std::uint32_t states = 0;
    if (family.statesBaseId != 0) {
        const ListLayout* statesList = listRow(family.statesBaseId);
        if (statesList == nullptr) return {};
        states = pickCount(rng, index, frequencyCapacity(*statesList));
        sample.companions.push_back(listSample(*statesList, 0, index, rng, {states}).image);
    }
    std::uint32_t rows = family.fixedRows;
    if (family.frequencyBaseId != 0) {
        const ListLayout* frequency = listRow(family.frequencyBaseId);
        if (frequency == nullptr) return {};
        rows = pickCount(rng, index,
                         std::min<std::uint32_t>(family.rows, frequencyCapacity(*frequency)));
        sample.companions.push_back(listSample(*frequency, 0, index, rng, {rows}).image);
    }
    sample.image = emptyImage(family.baseId, type.size);
    if (family.rowCount.width != 0)
        put(sample.image, family.rowCount.offset, family.rowCount.width, rows);
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t f = 0; f < family.fieldCount; ++f) {
            const RowFieldFamily& field = family.fields[f];
            const std::size_t repeat = field.repeat == 0 ? states : field.repeat;
            for (std::size_t k = 0; k < repeat; ++k) {
                const std::size_t offset =
                    field.offset + r * field.rowStride + k * field.repeatStride;
                put(sample.image, offset, field.cell.width, anyCell(field.cell, rng));
            }
        }
    }
    return sample;
}

// Groups of labelled rows counted by a list block: the lowpass responses (nine
// lowpasses of four levels) and the attenuator responses (six attenuators).
struct LabelledGroupsFamily {
    std::uint16_t baseId;
    std::uint16_t frequencyBaseId;
    std::uint8_t groups;
    std::uint8_t levels;
    std::uint16_t rowsPerLevel;
    std::uint8_t valuesPerRow;
    MatrixCell cell;
    std::uint16_t valueOffset;
};

const LabelledGroupsFamily kLabelledGroups[] = {
    {12230, 12210, 9, 4, 150, 4, kByte, 44},
    {12240, 12210, 9, 4, 150, 4, kByte, 44},
    {12270, 12260, 1, 6, 200, 2, kLong, 12},
};

const LabelledGroupsFamily* labelledGroups(std::uint16_t baseId) {
    for (const LabelledGroupsFamily& row : kLabelledGroups) {
        if (row.baseId == baseId) return &row;
    }
    return nullptr;
}

Sample labelledGroupsSample(const LabelledGroupsFamily& family, const BlockType& type,
                            std::uint32_t instance, std::size_t index, Rng& rng) {
    const ListLayout* frequency = listRow(family.frequencyBaseId);
    if (frequency == nullptr) return {};
    std::vector<std::uint32_t> counts;
    for (std::size_t n = 0; n < family.groups; ++n) {
        counts.push_back(pickCount(rng, index, family.rowsPerLevel));
    }
    Sample sample;
    sample.companions.push_back(listSample(*frequency, instance, index, rng, counts).image);
    sample.image = emptyImage(static_cast<std::uint16_t>(family.baseId + instance), type.size);
    for (std::size_t n = 0; n < family.groups; ++n) {
        put(sample.image, 8 + 4 * n, 4, counts[n]);
        for (std::size_t q = 0; q < family.levels; ++q) {
            for (std::size_t i = 0; i < counts[n]; ++i) {
                for (std::size_t k = 0; k < family.valuesPerRow; ++k) {
                    const std::size_t rowIndex = (n * family.levels + q) * family.rowsPerLevel + i;
                    put(sample.image,
                        family.valueOffset +
                            (rowIndex * family.valuesPerRow + k) * family.cell.width,
                        family.cell.width, anyCell(family.cell, rng));
                }
            }
        }
    }
    return sample;
}

// ---- tables -------------------------------------------------------------------------------

Sample tableSample(const TableDescriptor& table, std::uint32_t instance, std::size_t index,
                   Rng& rng) {
    const TableShape& shape = table.shape;
    Sample sample;
    sample.image = emptyImage(static_cast<std::uint16_t>(table.baseId + instance), table.size);
    const std::uint32_t rows = pickCount(rng, index, shape.rows);
    const std::uint32_t columns = pickCount(rng, index, shape.columns);
    put(sample.image, kTableRowsOffset, 4, rows);
    put(sample.image, kTableColumnsOffset, 4, columns);
    const std::size_t width = cellWidth(shape.cell);
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::size_t offset = shape.cellOffset(r, c);
            switch (table.form) {
                case TableTextForm::GxnAttCalFreq:
                case TableTextForm::GxnTempCompFreq: {
                    // "%21.10f" of the value in the text's unit.
                    const double value = static_cast<double>(rng.below(100000000000ull)) /
                                         static_cast<double>(rng.between(1, 9999));
                    put(sample.image, offset, 8, doubleBits(value));
                    sample.approximate.push_back(
                        {offset, 8, (0.5e-10 + value * table.scale * 1e-15) / table.scale});
                    break;
                }
                case TableTextForm::GxnAttRegAttenuation: {
                    // "%12.2f": back to the hundredth.
                    const float value = static_cast<float>(rng.between(-9999999, 9999999)) / 997.0f;
                    put(sample.image, offset, 4, floatBits(value));
                    sample.approximate.push_back({offset, 4, 0.005 + std::fabs(value) * 1e-6});
                    break;
                }
                default:
                    put(sample.image, offset, width, anyInteger(rng, width));
                    break;
            }
        }
    }
    // The row labels are written as the running row numbers, and the user
    // entries are not in the text at all.
    if (shape.trailerSize() != 0) {
        for (std::size_t i = shape.trailerOffset(); i < shape.blockSize(); ++i) {
            sample.image.at(i) = static_cast<std::uint8_t>(rng.next());
        }
        sample.ignored.push_back({shape.trailerOffset(), shape.trailerSize()});
    }
    return sample;
}

// ---- the common records -------------------------------------------------------------------

std::vector<std::string> convertibleUnitNames() {
    std::vector<std::string> names;
    for (const BoardConversion& board : boardConversions()) {
        if (board.style == ConversionStyle::Stereocoder) continue;
        for (const std::string& name : board.unitNames) {
            if (name.size() <= 13) names.push_back(name);
        }
    }
    return names;
}

// A packed date; every bit pattern (also month 0 or 13) prints and reads back.
std::uint64_t anyDate(Rng& rng) {
    return rng.below(65536);
}

Sample identSample(std::uint16_t id, Rng& rng) {
    Sample sample;
    sample.image = emptyImage(id, 44);
    put(sample.image, 6, 2, anyInteger(rng, 2));   // alignment
    put(sample.image, 8, 4, anyInteger(rng, 4));   // EEPROM size
    put(sample.image, 12, 4, anyInteger(rng, 4));  // part number
    put(sample.image, 16, 1, anyInteger(rng, 1));  // variant
    put(sample.image, 17, 1, anyInteger(rng, 1));  // hardware code
    // Product index and test instruction are written as hundreds "." two
    // digits; values of 10000 and more keep all their digits.
    put(sample.image, 18, 2, anyInteger(rng, 2));
    put(sample.image, 20, 4, anyInteger(rng, 4));
    put(sample.image, 24, 2, anyDate(rng));
    put(sample.image, 26, 2, anyInteger(rng, 2));
    put(sample.image, 28, 2, anyInteger(rng, 2));
    // The head ident names a board that has a conversion; the stream idents any word.
    std::string name;
    if (id == 2) {
        static const std::vector<std::string> names = convertibleUnitNames();
        name = names.at(rng.below(names.size()));
    } else {
        name = anyWord(rng, 1 + rng.below(13));
    }
    name.resize(13, ' ');
    for (std::size_t i = 0; i < name.size(); ++i) {
        sample.image.at(30 + i) = static_cast<std::uint8_t>(name[i]);
    }
    return sample;
}

std::optional<Sample> commonRecordSample(const BlockType& type, std::uint32_t instance,
                                         std::size_t index, Rng& rng) {
    Sample sample;
    switch (type.kind) {
        case BlockKind::Ident:
        case BlockKind::MiscIdent:
            return identSample(static_cast<std::uint16_t>(type.baseId + instance), rng);
        case BlockKind::Modification:
            sample.image = emptyImage(100, 28);
            for (std::size_t i = 0; i < 10; ++i)
                put(sample.image, 8 + 2 * i, 2, anyInteger(rng, 2));
            return sample;
        case BlockKind::Service: {
            sample.image = emptyImage(static_cast<std::uint16_t>(200 + instance), 24);
            // A department of up to five letters, NUL-terminated; none in a
            // service record never written (sample 0).
            const std::string department = index == 0 ? "" : anyWord(rng, 1 + rng.below(5));
            for (std::size_t i = 0; i < department.size(); ++i) {
                sample.image.at(8 + i) = static_cast<std::uint8_t>(department[i]);
            }
            put(sample.image, 14, 2, anyDate(rng));
            put(sample.image, 16, 4, anyInteger(rng, 4));
            put(sample.image, 20, 2, anyInteger(rng, 2));
            put(sample.image, 22, 2, anyInteger(rng, 2));
            return sample;
        }
        case BlockKind::Statistic:
            sample.image = emptyImage(300, 12);
            put(sample.image, 8, 4, anyInteger(rng, 4));
            return sample;
        case BlockKind::End:
            sample.image = {0xFF, 0xFF, 0x00, 0x00};
            return sample;
        default:
            return std::nullopt;
    }
}

std::optional<Sample> sampleFor(const BlockType& type, std::uint32_t instance, std::size_t index,
                                Rng& rng) {
    const std::uint16_t id = static_cast<std::uint16_t>(type.baseId + instance);
    if (std::optional<Sample> record = commonRecordSample(type, instance, index, rng))
        return record;
    if (const TableDescriptor* table = findTableDescriptor(type.kind)) {
        return tableSample(*table, instance, index, rng);
    }
    if (const RecordLayout* row = recordRow(id)) return recordSample(*row, rng);
    if (const SingleValueLayout* row = singleValueRow(id))
        return singleValueSample(*row, index, rng);
    if (const ListLayout* row = listRow(id)) {
        return listSample(*row, id - row->baseId, index, rng);
    }
    if (const CompanionLayout* row = companionRow(id)) {
        return companionSample(*row, id - row->baseId, index, rng);
    }
    if (const FrequencyMatrixFamily* row = frequencyMatrix(type.baseId)) {
        return frequencyMatrixSample(*row, type, instance, index, rng);
    }
    if (const FieldTableFamily* row = fieldTable(type.baseId)) {
        return fieldTableSample(*row, type, index, rng);
    }
    if (const LabelledGroupsFamily* row = labelledGroups(type.baseId)) {
        return labelledGroupsSample(*row, type, instance, index, rng);
    }
    return std::nullopt;
}

}  // namespace

const char* exclusionReason(BlockKind kind) {
    switch (kind) {
        case BlockKind::IqOp3RfmCalibDataMisc:
            return "the LCON reserve and the LEVEL PRESET and detector-attenuator tolerances "
                   "are written as stored and read as dB times 128";
        case BlockKind::IqOp3RfmCalibDataV20:
            return "the reader takes one number after the row label before the 14 columns, "
                   "which the writer does not put there";
        case BlockKind::IqOp3RfmCalibData:
            return "written one state per section with six values per group, read with all "
                   "states side by side and eight values per group";
        case BlockKind::DvkAnalogImbalanceGainI:
        case BlockKind::DvkAnalogImbalanceGainQ:
        case BlockKind::DvkAnalogImbalancePhI:
        case BlockKind::DvkAnalogImbalancePhQ:
            return "written as four one-value sections under one identifier, read as one "
                   "table of five values per row";
        default:
            return nullptr;
    }
}

bool hasSampleGenerator(const BlockType& type) {
    Rng rng(1);
    for (std::uint32_t instance = 0; instance < type.instances; ++instance) {
        std::optional<Sample> sample = sampleFor(type, instance, 2, rng);
        if (!sample || sample->image.empty()) return false;
    }
    return true;
}

Sample makeSample(const BlockType& type, std::uint32_t instance, std::size_t index, Rng& rng) {
    std::optional<Sample> sample = sampleFor(type, instance, index, rng);
    if (!sample) return {};
    if (type.kind != BlockKind::End) sealImage(sample->image);
    for (Bytes& companion : sample->companions) sealImage(companion);
    return *sample;
}

void sealImage(Bytes& image) {
    if (image.size() < 8) return;
    put(image, 4, 2, 0);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < image.size(); i += 2) sum += image[i] | (image[i + 1] << 8);
    put(image, 4, 2, (0x10000u - (sum & 0xFFFFu)) & 0xFFFFu);
}

}  // namespace quenmap::test
