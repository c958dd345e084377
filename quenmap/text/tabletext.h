#pragma once
// Text form of the row-by-column table blocks: the line-oriented table reader
// and the generic table writer. The GXN RF-board tables have a form of their
// own (gxntext.h); the two entry points below choose by the block's form.

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "primitives.h"

namespace quenmap {

class HwTableDatablock;
class HwDatablock;

// Reads the table's section from the start of the text into the block. The
// diagnostics ("ERROR: ...") go to the text's diagnostics stream; the block is
// loaded with whatever was read and the run goes on.
std::istream& readTableText(TextInput& text, HwTableDatablock& block);
// Writes the generic table text form.
std::ostream& writeGenericTableText(std::ostream& out, const HwTableDatablock& block);

// The reader and the writer of a table block in its own form.
void readTableBlockText(TextInput& text, HwDatablock& block);
std::ostream& writeTableBlockText(std::ostream& out, const HwTableDatablock& block);

// Pieces shared by the table readers.
namespace table_text {

// The line as the table readers see it: without a trailing carriage return
// and without an end-of-line comment. Empty for a comment line.
std::string significantPart(std::string line);
// The blank- or tab-separated fields of a text.
std::vector<std::string> fields(const std::string& text);
// True when the line carries "ID:" and the name as one whole field.
bool isIdLine(const std::string& line, const std::string& name);
// The decimal number at the start of a text (leading blanks skipped, stops at
// the first non-digit; held to the u32 range).
std::uint32_t leadingNumber(const std::string& text);
// A signed decimal label such as the "12" of "12:" (0 when there is none).
std::uint32_t rowLabelOf(const std::string& text);

struct CountLine {
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
};
// Reads "COUNT:" rows "*" columns, with or without blanks around the star.
CountLine parseCountLine(const std::string& line);

// A decimal field as a finite double. Answers false when the field does not
// start with a number; `whole` tells whether the entire field was the number.
bool parseDecimal(const std::string& field, double& value, bool& whole);
// A value rounded to double precision, also where the processor computes with
// more (the x87 unit of 32-bit Windows), so both builds store the same cells.
double roundedToDouble(double value);
// value / scale, truncated toward zero after the relative tolerance that lets
// a printed "%.3f" value come back to the cell it was printed from.
double scaledToStored(double value, double scale);

// What distinguishes the line readers of the table forms.
struct TableScanRules {
    int firstReportedLine;     // the first line without "COUNT:" after the ID that is reported
    const char* linesMessage;  // reported for it and every further one
    bool colonlessLineEnds;    // a line without ':' ends the rows (else it is skipped)
};

struct TableScan {
    bool foundId = false;
    bool foundCount = false;
    CountLine count;
    std::uint32_t rowsRead = 0;
};

// The line reader of the table forms: from the start of the text, finds the
// ID line with the name, the COUNT line, then hands each row (the text before
// and after its first ':') to onRow with its index. The rows end at the next
// block's ID line, with the COUNT read. Empty and comment lines are skipped, end-of-line comments
// cut.
using TableRowHandler = std::function<void(const CountLine& count, std::uint32_t row,
                                           const std::string& label, const std::string& values)>;
TableScan scanTableText(TextInput& text, const std::string& name, const TableScanRules& rules,
                        const TableRowHandler& onRow);
// The messages at the end of the text: no ID, no COUNT, or rowsMessage when
// the rows read differ from the COUNT rows.
void reportTableEnd(std::ostream& diagnostics, const TableScan& scan, const char* rowsMessage);

}  // namespace table_text

}  // namespace quenmap
