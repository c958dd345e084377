#include "gxntext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "imagebuilder.h"
#include "tabletext.h"
#include "textformat.h"

namespace quenmap {

namespace {

using namespace table_text;

enum class GxnCell {
    RealFrequency,  // f64 cell * scale, "    %21.10f"
    TruncatedData,  // 32-bit cell * scale truncated, "    %21.10f"
    Attenuation,    // f32 cell * scale, "    %12.2f", read rounded to 1/100
    RegisterData,   // raw u32, "    0x%08X", read as hexadecimal
};

struct GxnForm {
    TableTextForm form;
    const char* head;  // the table's word in the head line
    GxnCell cell;
    int lineLimit;  // lines without "COUNT:" from which on each is reported
    const char* linesMessage;
    const char* rowsMessage;
};

const char kLinesToLarge[] = "ERROR: Number of lines between ID: and COUNT: to large!";
const char kLinesTooLarge[] = "ERROR: Number of lines between ID: and COUNT: too large!";
const char kRegLinesToLarge[] = "ERROR: Number of lines between ID and Count to large";
const char kRowsInadequate[] = "ERROR: Number of rows read inadequate!";
const char kRegRowsMismatch[] = "ERROR: Row value (COUNT) don't not equal with number of rows";

const GxnForm kGxnForms[] = {
    {TableTextForm::GxnAttCalFreq, "ATT-CAL-FREQ", GxnCell::RealFrequency, 3, kLinesToLarge,
     kRowsInadequate},
    // Written and read like TEMP-COMP-DATA; its row labels have no place in
    // the text.
    {TableTextForm::GxnAttCalData, "ATT-CAL-DATA", GxnCell::TruncatedData, 3, kLinesTooLarge,
     kRowsInadequate},
    {TableTextForm::GxnTempCompFreq, "TEMP-COMP-FREQ", GxnCell::RealFrequency, 3, kLinesTooLarge,
     kRowsInadequate},
    {TableTextForm::GxnTempCompData, "TEMP-COMP-DATA", GxnCell::TruncatedData, 3, kLinesTooLarge,
     kRowsInadequate},
    {TableTextForm::GxnAttRegAttenuation, "ATT-REG-ATTENUATION", GxnCell::Attenuation, 6,
     kRegLinesToLarge, kRegRowsMismatch},
    {TableTextForm::GxnAttRegData, "ATT-REG-DATA", GxnCell::RegisterData, 6, kRegLinesToLarge,
     kRegRowsMismatch},
};

const GxnForm* gxnFormOf(TableTextForm form) {
    for (const GxnForm& gxn : kGxnForms) {
        if (gxn.form == form) return &gxn;
    }
    return nullptr;
}

int decimalDigits(std::uint32_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

void appendCell(LineBuffer& line, const GxnForm& gxn, const HwTableDatablock& block,
                std::uint32_t row, std::uint32_t column) {
    line.append("    ");
    switch (gxn.cell) {
        case GxnCell::RealFrequency:
            line.appendFixed(block.cell(row, column), 21, 10);
            break;
        case GxnCell::TruncatedData:
            line.appendFixed(std::trunc(block.cell(row, column)), 21, 10);
            break;
        case GxnCell::Attenuation:
            line.appendFixed(block.cell(row, column), 12, 2);
            break;
        case GxnCell::RegisterData:
            line.append(formatText("0x%08X", static_cast<unsigned>(block.rawCell(row, column))));
            break;
    }
}

// A field as text-to-number conversion reads it: what does not parse is 0.
double decimalField(const std::string& field) {
    double value = 0.0;
    bool whole = false;
    return parseDecimal(field, value, whole) ? value : 0.0;
}

std::uint32_t hexadecimalField(const std::string& field) {
    const char* begin = field.c_str();
    char* end = nullptr;
    unsigned long long value = std::strtoull(begin, &end, 16);
    if (end == begin || field[0] == '-') return 0;
    return static_cast<std::uint32_t>(
        std::min<unsigned long long>(value, std::numeric_limits<std::uint32_t>::max()));
}

// The number a field stores in its cell (no scale left to apply).
double storedValue(const GxnForm& gxn, const std::string& field, double scale) {
    switch (gxn.cell) {
        case GxnCell::RealFrequency: {
            const double value = decimalField(field);
            return scale != 0.0 ? value / scale : value;
        }
        case GxnCell::TruncatedData: {
            const double value = std::trunc(decimalField(field));
            return std::trunc(scale != 0.0 ? value / scale : value);
        }
        case GxnCell::Attenuation:
            return std::floor(roundedToDouble(decimalField(field) * 100.0) + 0.5) * 0.01;
        case GxnCell::RegisterData:
            return hexadecimalField(field);
    }
    return 0.0;
}

}  // namespace

bool isGxnForm(TableTextForm form) {
    return gxnFormOf(form) != nullptr;
}

std::ostream& writeGxnTableText(std::ostream& out, const HwTableDatablock& block) {
    const GxnForm* gxn = gxnFormOf(block.textForm());
    if (gxn == nullptr) return out;
    const std::uint32_t rows = block.rowsInUse();
    const std::uint32_t columns = block.columnsInUse();
    out << "#   Veltrona, GXN - RF-Board - " << gxn->head << " - Data\n";
    for (int i = 0; i < 4; ++i) out << "#   \n";
    out << "ID:     " << block.textName() << '\n'
        << "#   \n"
        << "#       Parameter COUNT: <rows> * <columns>\n"
        << "COUNT:  " << rows << " * " << columns << '\n';
    for (int i = 0; i < 5; ++i) out << "#   \n";
    // Never more lines or values than the table holds: a corrupt count in an
    // image must not make the writer run on for billions of lines.
    const std::uint32_t rowsShown = std::min(rows, block.rowCapacity());
    const std::uint32_t columnsShown = std::min(columns, block.columnCapacity());
    const int width = decimalDigits(rows);
    LineBuffer line;
    for (std::uint32_t row = 0; row < rowsShown; ++row) {
        line.append(formatText("%*u", width, row + 1));
        line.append(":  ");
        for (std::uint32_t column = 0; column < columnsShown; ++column) {
            appendCell(line, *gxn, block, row, column);
        }
        line.append('\n');
        line.writeWhenFull(out);
    }
    line.writeAll(out);
    return out << '\n';
}

void readGxnTableText(TextInput& text, HwTableDatablock& block) {
    const GxnForm* gxn = gxnFormOf(block.textForm());
    if (gxn == nullptr) return;
    const TableShape& shape = block.shape();
    ImageBuilder image(block.blockSize());
    // Every field counts as a value; a line without ':' is no row and is skipped.
    const TableScanRules rules = {gxn->lineLimit, gxn->linesMessage, false};
    auto readRow = [&](const CountLine& count, std::uint32_t row, const std::string&,
                       const std::string& valuesText) {
        const std::vector<std::string> values = fields(valuesText);
        for (std::uint32_t column = 0; column < values.size(); ++column) {
            writeCell(image.bytes(), shape, row, column,
                      storedValue(*gxn, values[column], block.scale()));
        }
        // Values beyond the column capacity are dropped by writeCell; the
        // check counts the values the row gave.
        if (values.size() != count.columns) {
            text.diagnostics() << "ERROR: In Row =" << row + 1
                               << ": Number of columns read inadequate!" << '\n';
        }
    };
    const TableScan scan = scanTableText(text, block.textName(), rules, readRow);
    reportTableEnd(text.diagnostics(), scan, gxn->rowsMessage);
    image.setU32(kTableRowsOffset, scan.count.rows);
    image.setU32(kTableColumnsOffset, scan.count.columns);
    image.loadInto(block, static_cast<std::uint16_t>(block.baseId() + block.instance()));
}

}  // namespace quenmap
