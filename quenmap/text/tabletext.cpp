#include "tabletext.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "datablocks/tables/hwtabledatablock.h"
#include "gxntext.h"
#include "imagebuilder.h"
#include "textformat.h"

namespace quenmap {

namespace table_text {

namespace {
bool isFieldSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

std::string significantPart(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return std::string();
    std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    return line;
}

std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isFieldSeparator(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !isFieldSeparator(text[i])) ++i;
        if (i > start) result.push_back(text.substr(start, i - start));
    }
    return result;
}

bool isIdLine(const std::string& line, const std::string& name) {
    if (line.find("ID:") == std::string::npos) return false;
    const std::vector<std::string> words = fields(line);
    return std::find(words.begin(), words.end(), name) != words.end();
}

std::uint32_t leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(text[i] - '0'),
                                        std::numeric_limits<std::uint32_t>::max());
    }
    return static_cast<std::uint32_t>(value);
}

std::uint32_t rowLabelOf(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && isFieldSeparator(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::uint32_t value = leadingNumber(text.substr(i));
    return negative ? 0u - value : value;
}

CountLine parseCountLine(const std::string& line) {
    std::string rest = line;
    std::size_t keyword = rest.find("COUNT:");
    if (keyword != std::string::npos) rest.erase(keyword, 6);
    CountLine count;
    std::size_t star = rest.find('*');
    count.rows = leadingNumber(rest.substr(0, star));
    if (star != std::string::npos) count.columns = leadingNumber(rest.substr(star + 1));
    return count;
}

// True when strtod and from_chars read the field alike: a plain decimal
// number, not a hexadecimal one nor one with a plus sign.
bool isPlainDecimal(const std::string& field) {
    std::size_t at = field.size() > 0 && field[0] == '-' ? 1 : 0;
    if (at >= field.size()) return false;
    const char first = field[at];
    if (first != '.' && (first < '0' || first > '9')) return false;
    return !(first == '0' && at + 1 < field.size() &&
             (field[at + 1] == 'x' || field[at + 1] == 'X'));
}

bool parseDecimal(const std::string& field, double& value, bool& whole) {
    const char* begin = field.c_str();
    if (isPlainDecimal(field)) {
        // The tables hold tens of thousands of values: read without the
        // locale-aware general path when the text allows.
        double parsed = 0.0;
        const std::from_chars_result result =
            std::from_chars(begin, begin + field.size(), parsed, std::chars_format::general);
        if (result.ec == std::errc() && result.ptr != begin && std::isfinite(parsed)) {
            value = parsed;
            whole = result.ptr == begin + field.size();
            return true;
        }
    }
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(parsed)) return false;
    value = parsed;
    whole = *end == '\0';
    return true;
}

double roundedToDouble(double value) {
    volatile double stored = value;
    return stored;
}

double scaledToStored(double value, double scale) {
    double quotient = roundedToDouble(scale != 0.0 ? value / scale : value);
    double tolerance = std::max(1e-12, std::fabs(quotient) * 1e-12);
    return std::trunc(quotient >= 0.0 ? quotient + tolerance : quotient - tolerance);
}

TableScan scanTableText(TextInput& text, const std::string& name, const TableScanRules& rules,
                        const TableRowHandler& onRow) {
    enum class State { SearchId, SearchCount, Rows, Done } state = State::SearchId;
    TableScan scan;
    int linesWithoutCount = 0;
    text.rewind();
    std::string rawLine;
    while (std::getline(text.stream(), rawLine)) {
        const std::string line = significantPart(rawLine);
        if (line.empty()) continue;
        switch (state) {
            case State::SearchId:
                if (isIdLine(line, name)) {
                    scan.foundId = true;
                    state = State::SearchCount;
                }
                break;
            case State::SearchCount:
                if (line.find("COUNT:") == std::string::npos) {
                    if (++linesWithoutCount >= rules.firstReportedLine) {
                        text.diagnostics() << rules.linesMessage << '\n';
                    }
                    break;
                }
                scan.foundCount = true;
                scan.count = parseCountLine(line);
                state = State::Rows;
                break;
            case State::Rows: {
                // The next block's ID line ends the rows: its "ID:" and
                // "COUNT:" lines carry ':' too.
                const std::size_t colon = line.find(':');
                if (line.find("ID:") != std::string::npos ||
                    (colon == std::string::npos && rules.colonlessLineEnds)) {
                    state = State::Done;
                } else if (colon != std::string::npos) {
                    onRow(scan.count, scan.rowsRead++, line.substr(0, colon),
                          line.substr(colon + 1));
                }
                break;
            }
            case State::Done:
                break;
        }
    }
    return scan;
}

void reportTableEnd(std::ostream& diagnostics, const TableScan& scan, const char* rowsMessage) {
    if (!scan.foundId) {
        diagnostics << "ERROR: FOUND NO ID !" << '\n';
    } else if (!scan.foundCount) {
        diagnostics << "ERROR: FOUND NO COUNT VALUES !" << '\n';
    } else if (scan.count.rows != scan.rowsRead) {
        diagnostics << rowsMessage << '\n';
    }
}

}  // namespace table_text

namespace {

using namespace table_text;

// Six lines without "COUNT:" after the ID line: the sixth is reported.
const TableScanRules kTableRules = {6, "ERROR: Number of lines between ID and Count to large",
                                    true};
const char kRowsMessage[] = "ERROR: Row value (COUNT) don't not equal with number of rows";

}  // namespace

std::istream& readTableText(TextInput& text, HwTableDatablock& block) {
    const TableShape& shape = block.shape();
    ImageBuilder image(block.blockSize());
    auto readRow = [&](const CountLine& count, std::uint32_t row, const std::string& label,
                       const std::string& values) {
        writeRowLabel(image.bytes(), shape, row, rowLabelOf(label));
        std::uint32_t valuesRead = 0;
        for (const std::string& field : fields(values)) {
            double value = 0.0;
            bool whole = false;
            if (!parseDecimal(field, value, whole)) break;
            const double stored = isRealCell(shape.cell)
                                      ? (block.scale() != 0.0 ? value / block.scale() : value)
                                      : scaledToStored(value, block.scale());
            writeCell(image.bytes(), shape, row, valuesRead, stored);
            ++valuesRead;
            if (!whole) break;  // "12abc": the number, then the row's values end
        }
        // The values the row gave, stored or not: those beyond the column
        // capacity were dropped above without making the row a wrong one.
        if (valuesRead != count.columns) {
            text.diagnostics() << "ERROR: In Row =" << row + 1
                               << " correspondent the number of columns not with the given value"
                               << '\n';
        }
    };
    const TableScan scan = scanTableText(text, block.textName(), kTableRules, readRow);
    reportTableEnd(text.diagnostics(), scan, kRowsMessage);
    image.setU32(kTableRowsOffset, scan.count.rows);
    image.setU32(kTableColumnsOffset, scan.count.columns);
    // The block id stays 0 when no ID line was found.
    const std::uint16_t id =
        scan.foundId ? static_cast<std::uint16_t>(block.baseId() + block.instance()) : 0;
    image.loadInto(block, id);
    return text.stream();
}

std::ostream& writeGenericTableText(std::ostream& out, const HwTableDatablock& block) {
    const int decimals = block.textForm() == TableTextForm::Configurable ? 5 : 3;
    const std::uint32_t rows = block.rowsInUse();
    const std::uint32_t columns = block.columnsInUse();
    // Never more lines or values than the table holds, whatever the counts say.
    const std::uint32_t rowsShown = std::min(rows, block.rowCapacity());
    const std::uint32_t columnsShown = std::min(columns, block.columnCapacity());
    out << "ID:  " << block.textName() << '\n' << "COUNT:  " << rows << '*' << columns << '\n';
    LineBuffer line;
    if (rows > columns && columns == 1) {
        for (std::uint32_t row = 0; row < rowsShown; ++row) {
            line.appendUnsigned(row + 1);
            line.append(":  ");
            line.appendFixed(block.cell(row, 0), decimals);
            line.append('\n');
            line.writeWhenFull(out);
        }
        line.writeAll(out);
    } else {
        for (std::uint32_t row = 0; row < rowsShown; ++row) {
            line.appendUnsigned(row + 1);
            line.append(": ");
            for (std::uint32_t column = 0; column < columnsShown; ++column) {
                line.append('\t');
                line.appendFixed(block.cell(row, column), decimals);
            }
            line.append('\n');
            line.writeWhenFull(out);
        }
        line.writeAll(out);
    }
    return out << '\n';
}

void readTableBlockText(TextInput& text, HwDatablock& block) {
    auto& table = static_cast<HwTableDatablock&>(block);
    if (isGxnForm(table.textForm())) {
        readGxnTableText(text, table);
    } else {
        readTableText(text, table);
    }
}

std::ostream& writeTableBlockText(std::ostream& out, const HwTableDatablock& block) {
    if (isGxnForm(block.textForm())) return writeGxnTableText(out, block);
    return writeGenericTableText(out, block);
}

}  // namespace quenmap
