#pragma once
// quenview's data model: one board's EEPROM content decoded into named values
// in physical units, and the comparison of two boards. It is built once and
// written either as JSON or into the HTML report.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quenview {

// What a value is and the unit it is given in ("" when it has none).
struct Quantity {
    std::string name;
    std::string unit;
};

// One named value of a block: a number in physical units with the stored
// number beside it, or a text (a model name, a department).
struct Field {
    std::string name;
    std::string unit;
    std::optional<double> value;  // absent for a "no value" marker and for text fields
    double raw = 0;               // the stored number (the real itself for IEEE fields)
    std::optional<std::string> text;
};

// Values in rows and columns. Row r holds one value per column; `x` names what
// the rows stand for and xValues gives each row's label (empty: rows are
// numbered from 1). A charted grid draws every column as a series against the
// row labels, so a matrix whose rows are curves over a frequency list is held
// with one row per frequency and one column per curve.
struct Grid {
    std::string title;
    Quantity x;
    std::vector<double> xValues;
    std::vector<Quantity> columns;
    // Row after row, columns.size() cells a row: one allocation for a table of
    // thousands of cells. A value that is absent is held as NaN.
    std::vector<double> values;  // physical
    std::vector<double> raw;     // stored
    bool chart = false;

    std::size_t rows() const { return columns.empty() ? 0 : values.size() / columns.size(); }
    std::optional<double> valueAt(std::size_t row, std::size_t column) const {
        const double value = values[row * columns.size() + column];
        return value == value ? std::optional<double>(value) : std::nullopt;
    }
    double rawAt(std::size_t row, std::size_t column) const {
        return raw[row * columns.size() + column];
    }
    void set(std::size_t row, std::size_t column, std::optional<double> value, double stored) {
        const std::size_t at = row * columns.size() + column;
        values[at] = value ? *value : std::numeric_limits<double>::quiet_NaN();
        raw[at] = stored;
    }
};

// The decoded values of one block.
struct BlockContent {
    std::vector<Field> fields;
    std::vector<Grid> grids;
};

enum class BlockState : std::uint8_t {
    Verified,        // checksum correct, decoded
    ChecksumFailed,  // decoded all the same, flagged with both checksums
    UnknownId,       // no block type owns the id: header and raw bytes only
    Unloadable,      // its class cannot take it (shorter than the class): raw bytes only
};

// Which instance of a multi-instance type a block is: a path (A to D), an
// operating state, an input or a counter number. Empty kind for single types.
struct Instance {
    std::string kind;
    std::uint32_t index = 0;
    std::string label;
};

struct Block {
    std::size_t offset = 0;
    std::uint16_t id = 0;
    std::uint16_t length = 0;  // the header's length field
    std::string name;          // the text name ("" for an unknown id)
    std::string className;
    Instance instance;
    BlockState state = BlockState::Verified;
    std::uint16_t storedChecksum = 0;
    std::uint16_t computedChecksum = 0;
    BlockContent content;
    // The block's bytes as the image holds them; the JSON shows them for
    // unknown and unloadable blocks only.
    std::vector<std::uint8_t> bytes;
};

struct ServiceRecord {
    std::uint16_t id = 0;  // 200 to 209
    std::string department;
    std::string date;  // YYYY-MM-DD
    std::uint32_t hours = 0;
    std::uint32_t hoursFraction = 0;  // millionths of an hour
    std::uint16_t repairNumber = 0;
    std::uint16_t serviceCode = 0;
};

struct ModificationCode {
    std::uint16_t number = 0;  // low 14 bits
    std::uint8_t state = 0;    // top 2 bits
};

struct ServiceHistory {
    std::vector<ServiceRecord> records;
    std::vector<ModificationCode> modificationCodes;
    std::optional<double> statisticsHours;
};

struct BoardSummary {
    bool present = false;  // false when the image has no readable ident block
    std::string unitName;
    std::string partNumber;  // "1234.5678.01"
    std::uint32_t serialNumber = 0;
    std::string productDate;  // YYYY-MM-DD
    std::uint8_t hardwareCode = 0;
    std::string productIndex;     // "01.02"
    std::string testInstruction;  // "02.00"
    std::uint32_t dataVersion = 0;
    std::uint32_t eepromSize = 0;
    std::size_t bytesInUse = 0;  // up to and with the END block
};

// How the walk of the image ended.
enum class WalkEnd : std::uint8_t {
    EndBlock,         // at the END block
    CutShort,         // the file ended without an END block
    UntrustedLength,  // a length field below the header or past the file
    IdentOnly,        // a STEREOCODER image: its ident block alone, by design
};

enum class TrailingPattern : std::uint8_t { None, Erased, Zero, Content };

struct ImageStatus {
    WalkEnd end = WalkEnd::EndBlock;
    std::size_t endOffset = 0;  // where the walk stopped
    std::size_t failedChecksums = 0;
    std::size_t unknownIds = 0;
    std::size_t unloadable = 0;
    std::size_t trailingBytes = 0;  // bytes after the END block
    TrailingPattern trailing = TrailingPattern::None;
    bool damaged() const {
        return failedChecksums > 0 || unknownIds > 0 || unloadable > 0 ||
               end == WalkEnd::CutShort || end == WalkEnd::UntrustedLength ||
               trailing == TrailingPattern::Content;
    }
};

struct InputFileInfo {
    std::string name;  // as given on the command line, its folder dropped
    std::string sha256;
    std::size_t size = 0;
    std::string kind;  // "image" or "text"
};

struct Report {
    InputFileInfo file;
    BoardSummary board;
    ServiceHistory service;
    ImageStatus status;
    std::vector<Block> blocks;
};

// ---- Comparison -------------------------------------------------------------

enum class PairState : std::uint8_t { Same, Changed, OnlyFirst, OnlySecond };

// One value that differs: where it is and both values.
struct ValueChange {
    std::string grid;  // the grid title, "" for a field
    std::string name;  // field name, or column name of a grid cell
    std::optional<std::size_t> row;
    std::optional<double> x;  // the row label, where the grid has them
    std::optional<double> before;
    std::optional<double> after;
    std::optional<std::string> beforeText;
    std::optional<std::string> afterText;
};

struct BlockPair {
    std::uint16_t id = 0;
    std::string name;
    PairState state = PairState::Same;
    std::vector<ValueChange> changes;
    bool rawChanged = false;  // bytes differ where no decoded value shows it
};

struct Comparison {
    Report before;
    Report after;
    std::vector<BlockPair> pairs;
    std::vector<ValueChange> identChanges;
    std::vector<ValueChange> serviceChanges;
    bool unitNamesDiffer = false;
    std::size_t compared = 0;
    std::size_t changed = 0;
};

}  // namespace quenview
