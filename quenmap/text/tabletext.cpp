#include "tabletext.h"

#include <algorithm>
#include <cerrno>
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

bool parseDecimal(const std::string& field, double& value, bool& whole) {
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(parsed)) return false;
    value = parsed;
    whole = *end == '\0';
    return true;
}

double scaledToStored(double value, double scale) {
    double quotient = scale != 0.0 ? value / scale : value;
    double tolerance = std::max(1e-12, std::fabs(quotient) * 1e-12);
    return std::trunc(quotient >= 0.0 ? quotient + tolerance : quotient - tolerance);
}

}  // namespace table_text

namespace {

using namespace table_text;

const char kLinesMessage[] = "ERROR: Number of lines between ID and Count to large";
const char kNoIdMessage[] = "ERROR: FOUND NO ID !";
const char kNoCountMessage[] = "ERROR: FOUND NO COUNT VALUES !";
const char kRowsMessage[] = "ERROR: Row value (COUNT) don't not equal with number of rows";
// More lines than this between the ID and the COUNT line are reported.
constexpr int kLinesBeforeCount = 5;

enum class TableState { SearchId, SearchCount, Rows, Done };

}  // namespace

std::istream& readTableText(TextInput& text, HwTableDatablock& block) {
    const TableShape& shape = block.shape();
    const std::string& name = block.textName();
    std::ostream& diagnostics = text.diagnostics();
    ImageBuilder image(block.blockSize());
    std::uint16_t id = 0;  // stays 0 when no ID line is found
    TableState state = TableState::SearchId;
    CountLine count;
    std::uint32_t rowsRead = 0;
    int linesWithoutCount = 0;

    text.rewind();
    std::istream& in = text.stream();
    std::string rawLine;
    while (std::getline(in, rawLine)) {
        const std::string line = significantPart(rawLine);
        if (line.empty()) continue;
        switch (state) {
            case TableState::SearchId:
                if (isIdLine(line, name)) {
                    id = static_cast<std::uint16_t>(block.baseId() + block.instance());
                    state = TableState::SearchCount;
                }
                break;
            case TableState::SearchCount:
                if (line.find("COUNT:") == std::string::npos) {
                    if (++linesWithoutCount > kLinesBeforeCount)
                        diagnostics << kLinesMessage << '\n';
                    break;
                }
                count = parseCountLine(line);
                state = TableState::Rows;
                break;
            case TableState::Rows: {
                // A line without ':' ends the table, and so does the next
                // block's ID line (whose "ID:" and "COUNT:" carry ':' too).
                const std::size_t colon = line.find(':');
                if (colon == std::string::npos || line.find("ID:") != std::string::npos) {
                    state = TableState::Done;
                    break;
                }
                const std::uint32_t row = rowsRead;
                writeRowLabel(image.bytes(), shape, row, rowLabelOf(line.substr(0, colon)));
                std::uint32_t valuesRead = 0;
                for (const std::string& field : fields(line.substr(colon + 1))) {
                    double value = 0.0;
                    bool whole = false;
                    if (!parseDecimal(field, value, whole)) break;
                    const double stored =
                        isRealCell(shape.cell)
                            ? (block.scale() != 0.0 ? value / block.scale() : value)
                            : scaledToStored(value, block.scale());
                    writeCell(image.bytes(), shape, row, valuesRead, stored);
                    ++valuesRead;
                    if (!whole) break;
                }
                ++rowsRead;
                if (valuesRead != count.columns || valuesRead > shape.columns) {
                    diagnostics << "ERROR: In Row =" << rowsRead
                                << " correspondent the number of columns not with the given value"
                                << '\n';
                }
                break;
            }
            case TableState::Done:
                break;
        }
    }

    if (state == TableState::SearchId) {
        diagnostics << kNoIdMessage << '\n';
    } else if (state == TableState::SearchCount) {
        diagnostics << kNoCountMessage << '\n';
    } else if (count.rows != rowsRead) {
        diagnostics << kRowsMessage << '\n';
    }
    image.setU32(kTableRowsOffset, count.rows);
    image.setU32(kTableColumnsOffset, count.columns);
    image.loadInto(block, id);
    return in;
}

std::ostream& writeGenericTableText(std::ostream& out, const HwTableDatablock& block) {
    const char* format = block.textForm() == TableTextForm::Configurable ? "%.5f" : "%.3f";
    const std::uint32_t rows = block.rowsInUse();
    const std::uint32_t columns = block.columnsInUse();
    // Never more lines or values than the table holds, whatever the counts say.
    const std::uint32_t rowsShown = std::min(rows, block.rowCapacity());
    const std::uint32_t columnsShown = std::min(columns, block.columnCapacity());
    out << "ID:  " << block.textName() << '\n' << "COUNT:  " << rows << '*' << columns << '\n';
    if (rows > columns && columns == 1) {
        for (std::uint32_t row = 0; row < rowsShown; ++row) {
            out << row + 1 << ":  " << formatText(format, block.cell(row, 0)) << '\n';
        }
    } else {
        for (std::uint32_t row = 0; row < rowsShown; ++row) {
            out << row + 1 << ": ";
            for (std::uint32_t column = 0; column < columnsShown; ++column) {
                out << '\t' << formatText(format, block.cell(row, column));
            }
            out << '\n';
        }
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
