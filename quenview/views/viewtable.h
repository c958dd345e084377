#pragma once
// The view facts of every block type: what its values are, in which unit, how
// a printed number becomes a physical one, which frequency list gives its x
// axis, which stored number means "no value" and whether it holds curves. One
// row per type in viewcatalogue.def; the structure of a block (element types,
// offsets, counts, capacities) stays with quenmap's catalogue and layouts.

#include <cstdint>
#include <optional>

#include "datablocks/blockcatalogue.h"

namespace quenview {

// How a block's values are read: the layout kind its text writer follows.
enum class Form : std::uint8_t {
    None,          // no values (END)
    Ident,         // the ident record of the board or of a stream option
    Modification,  // ten modification codes
    Service,       // one service record
    Statistic,     // the statistics hours
    Record,        // keyed fields of a record layout row
    Single,        // a counted reference value
    List,          // a counted list
    NineLists,     // nine counted lists, one per lowpass
    Matrix,        // rows of values over the columns of a frequency list
    Table,         // a row-by-column table block
    AmGain,        // four gains per frequency
    AduOffset,     // gain and two detector offsets per row
    RfmState,      // packed rows of one operating state
    RfmV20,        // rows of fourteen values, data version 2.0
    RfmMisc,       // values per operating state and tolerances
    IqOp6Calib,    // attenuations and a DAC value per state, per frequency
    Lowpass,       // per lowpass and level, four values per frequency
    AttResponse,   // per attenuator, two values per frequency
    DetLinCorr,    // per step, a level and a correction per frequency
};

// The curves a block holds. Grids are always one row per x value: a matrix's
// rows become the grid's columns.
enum class Series : std::uint8_t {
    None,
    List,    // a counted list against its companion frequency list
    Matrix,  // one series per matrix row against the companion list
    Table,   // one series per column against the row labels
};

enum class InstanceKind : std::uint8_t {
    None,      // a single-instance type
    Path,      // path A to D
    State,     // operating state 1 to 12
    Counter,   // counter 1, 2, ...
    Numbered,  // table or record number from 0
};

// How the rows of a matrix are named (they become the grid's columns).
enum class RowNames : std::uint8_t {
    Numbered,     // as the text numbers them, from 0
    Attenuation,  // the attenuation 0, 5, 10, ... dB
};

// The element as the text writer takes it, where it differs from the class's
// own element type (an unsigned field written signed, and the reverse).
enum class CellOverride : std::uint8_t { None, I16, U8 };

struct ViewRow {
    quenmap::BlockKind kind;
    Form form;
    Series series;
    InstanceKind instance;
    // The block whose values are the x axis (same path where both have
    // paths); Count when there is none.
    quenmap::BlockKind companion;
    const char* quantity;
    const char* unit;
    // physical = (printed + offset) * scale, where printed is the number the
    // text writer prints for the stored value.
    double scale;
    double offset;
    std::optional<std::int32_t> noValue;  // the stored number that means "no value"
    std::uint16_t rowsShown;  // the rows the text shows whatever the block holds; 0: counted
    RowNames rowNames;
    CellOverride cell;
    const char* leadField;  // a signed 16-bit value at byte 8 before the rows ("VTemp"), or null
};

// The row of a kind; null only for a kind that lacks one (the catalogue test
// makes sure none does).
const ViewRow* viewRowFor(quenmap::BlockKind kind);
const ViewRow* viewRowsBegin();
const ViewRow* viewRowsEnd();

bool hasSeries(const quenmap::BlockType& type);

// The id of the companion block of block `id` of `type`; nullopt when the
// type has none.
std::optional<std::uint16_t> companionIdOf(const quenmap::BlockType& type, std::uint16_t id);

}  // namespace quenview
