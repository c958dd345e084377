#include "jsonmodel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <vector>

#include "model/hex.h"

namespace quenview {

namespace {

// Room that any number takes at most, in the forms below.
constexpr std::size_t kNumberRoom = 40;
// Below 2^53 every whole number is a double of its own, and the conversions to
// a 64-bit integer cannot overflow.
constexpr double kExactBelow = 9.0e15;
constexpr double kEightDecimalsBelow = 67108864.0;  // 2^26

// A report holds about a million numbers, and writing it is mostly writing
// them: the forms below take few branches that depend on the digits, since
// those are what a processor mispredicts.

// "0000" to "9999" as words whose lowest byte holds the first character: a
// number below 10^8 is two of them, looked up.
const std::array<std::uint32_t, 10000> kFourDigits = [] {
    std::array<std::uint32_t, 10000> words{};
    for (std::uint32_t i = 0; i < words.size(); ++i) {
        words[i] = (('0' + i / 1000) | ('0' + i / 100 % 10) << 8 | ('0' + i / 10 % 10) << 16 |
                    static_cast<std::uint32_t>('0' + i % 10) << 24);
    }
    return words;
}();

// The eight digits of a number below 10^8, leading zeros and all, as one word
// whose lowest byte holds the first character.
std::uint64_t eightDigits(std::uint64_t below100000000) {
    return kFourDigits[below100000000 / 10000] |
           static_cast<std::uint64_t>(kFourDigits[below100000000 % 10000]) << 32;
}

// A whole number without a sign; returns the end of its digits. The caller has
// room for kNumberRoom characters at `at`, of which this may fill more than it
// uses.
char* writeWhole(char* at, std::uint64_t magnitude) {
    if (magnitude < 100000000) {
        // Shifted so that the number's first digit is the lowest byte.
        std::uint64_t characters = eightDigits(magnitude);
        const int length = 1 + (magnitude >= 10) + (magnitude >= 100) + (magnitude >= 1000) +
                           (magnitude >= 10000) + (magnitude >= 100000) + (magnitude >= 1000000) +
                           (magnitude >= 10000000);
        characters >>= 8 * (8 - length);
        // Eight characters stored whatever the length: the ones after the
        // digits are overwritten by what follows. In memory the lowest byte
        // comes first on both targets.
        static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
                      "characters are stored lowest first");
        std::memcpy(at, &characters, 8);
        return at + length;
    }
    if (magnitude < 10000000000000000) {
        // Frequencies in Hz are mostly of ten or eleven digits: the leading
        // ones as above, then the last eight with their zeros.
        at = writeWhole(at, magnitude / 100000000);
        const std::uint64_t characters = eightDigits(magnitude % 100000000);
        std::memcpy(at, &characters, 8);
        return at + 8;
    }
    char digits[20];
    char* digit = digits + sizeof digits;
    do {
        *--digit = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    const auto length = static_cast<std::size_t>(digits + sizeof digits - digit);
    std::memcpy(at, digit, length);
    return at + length;
}

// A sign, when negative, before a whole number.
char* writeSigned(char* at, std::int64_t value) {
    *at = '-';
    at += value < 0 ? 1 : 0;
    return writeWhole(
        at, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
}

// A number of units of 1/10000 as decimals without their trailing zeros.
char* writeTenThousandths(char* at, std::int64_t units) {
    if (units < 0 && units > -10000) *at++ = '-';  // -0.05: the whole part has no sign
    at = writeSigned(at, units / 10000);
    const std::uint64_t fraction =
        static_cast<std::uint64_t>(units < 0 ? -(units % 10000) : units % 10000);
    if (fraction == 0) return at;
    *at++ = '.';
    std::memcpy(at, &kFourDigits[fraction], 4);
    const int trailingZeros = (fraction % 10 == 0) + (fraction % 100 == 0) + (fraction % 1000 == 0);
    return at + 4 - trailingZeros;
}

// The same for units of 10^-8, as 1/128 dB values and millionths need.
char* writeHundredMillionths(char* at, std::int64_t units) {
    constexpr std::int64_t kUnit = 100000000;
    if (units < 0 && units > -kUnit) *at++ = '-';
    at = writeSigned(at, units / kUnit);
    std::uint64_t fraction =
        static_cast<std::uint64_t>(units < 0 ? -(units % kUnit) : units % kUnit);
    if (fraction == 0) return at;
    *at++ = '.';
    const std::uint64_t characters = eightDigits(fraction);
    std::memcpy(at, &characters, 8);
    int length = 8;
    for (; fraction % 10 == 0; fraction /= 10) --length;
    return at + length;
}

// JSON has no NaN or infinity: a real that is not finite (an absent value) is
// null. Whole numbers are written without a fraction; the scaled values
// (hundredths of a dB and the like) as the few decimals that read back the
// same, and any other real in its shortest form that does.
char* writeNumber(char* at, double value) {
    if (!std::isfinite(value)) {
        std::memcpy(at, "null", 4);
        return at + 4;
    }
    if (std::fabs(value) < kExactBelow) {
        const auto whole = static_cast<std::int64_t>(value);
        if (static_cast<double>(whole) == value) return writeSigned(at, whole);
        // Units of 1/10000, rounded: when they read back as the value, the
        // decimals are those units without their trailing zeros.
        const double scaled = value * 10000.0;
        if (std::fabs(scaled) < kExactBelow) {
            const auto units = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
            if (static_cast<double>(units) / 10000.0 == value)
                return writeTenThousandths(at, units);
        }
        // Below 2^26 neighbouring reals lie less than 10^-8 apart: at most one
        // text of eight decimals reads back as the value, so when one does it
        // is also the shortest such text.
        if (std::fabs(value) < kEightDecimalsBelow) {
            const double hundredMillionths = value * 1e8;
            const auto units = static_cast<std::int64_t>(
                hundredMillionths < 0 ? hundredMillionths - 0.5 : hundredMillionths + 0.5);
            if (static_cast<double>(units) / 1e8 == value) return writeHundredMillionths(at, units);
        }
    }
    return std::to_chars(at, at + kNumberRoom, value).ptr;
}

// The report of an image with every block at capacity holds close to a million
// numbers, so the document is written as it goes rather than built as a tree
// first. Every text of the model is quoted and escaped by the JSON library;
// the keys are this file's own literals.
class JsonText {
  public:
    explicit JsonText(std::ostream& out) : out_(out), buffer_(kBufferSize) {}

    // Hands the rest of the document to the stream; the writer is done.
    void finish() { flush(); }

    void open(char bracket) {
        separate();
        put(bracket);
        first_ = true;
    }
    void close(char bracket) {
        put(bracket);
        first_ = false;
    }
    JsonText& key(const char* name) {
        separate();
        put('"');
        put(name, std::strlen(name));
        put("\":", 2);
        first_ = true;
        return *this;
    }
    // The model's texts are the board's own, in Latin-1 (German comment words,
    // department names); JSON is UTF-8.
    void string(const std::string& latin1) {
        separate();
        // Most texts (names, units, hex) are printable ASCII without a quote or
        // backslash: those stand in JSON as they are, and only the others go
        // through the library.
        const bool plain = std::all_of(latin1.begin(), latin1.end(), [](char c) {
            return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
        });
        if (plain) {
            put('"');
            put(latin1.data(), latin1.size());
            put('"');
            return;
        }
        std::string utf8;
        utf8.reserve(latin1.size());
        for (unsigned char c : latin1) {
            if (c < 0x80) {
                utf8 += static_cast<char>(c);
            } else {
                utf8 += static_cast<char>(0xC0 | (c >> 6));
                utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        const std::string quoted = nlohmann::json(utf8).dump();
        put(quoted.data(), quoted.size());
    }
    void number(double value) {
        // The separator and the number in one piece of room, written through
        // a cursor of its own.
        char* at = room(kNumberRoom + 1);
        if (!first_) *at++ = ',';
        first_ = false;
        char* const end = writeNumber(at, value);
        used_ = static_cast<std::size_t>(end - buffer_.data());
    }
    // A run of numbers, as in one row. The stored numbers of a row are mostly
    // all whole: such a row goes the short way, without asking each number
    // what it is (a question whose answer the processor cannot foresee).
    void numbers(const double* first, std::size_t count) {
        bool allWhole = true;
        for (std::size_t i = 0; i < count; ++i) {
            // A value too large for the conversion is asked about as 0.5.
            const double value = std::fabs(first[i]) < kExactBelow ? first[i] : 0.5;
            allWhole = allWhole & (static_cast<double>(static_cast<std::int64_t>(value)) == value);
        }
        if (!allWhole) {
            for (std::size_t i = 0; i < count; ++i) number(first[i]);
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            char* at = room(kNumberRoom + 1);
            if (!first_) *at++ = ',';
            first_ = false;
            char* const end = writeSigned(at, static_cast<std::int64_t>(first[i]));
            used_ = static_cast<std::size_t>(end - buffer_.data());
        }
    }
    void number(const std::optional<double>& value) {
        if (value) {
            number(*value);
        } else {
            null();
        }
    }
    void boolean(bool value) {
        separate();
        if (value) {
            put("true", 4);
        } else {
            put("false", 5);
        }
    }
    void null() {
        separate();
        put("null", 4);
    }

  private:
    // The document goes to its stream in pieces of this size, so that a
    // report of some megabytes is never held (nor its pages touched) whole.
    static constexpr std::size_t kBufferSize = 1 << 16;

    // Space for count more characters in the buffer; the caller writes them.
    char* room(std::size_t count) {
        if (buffer_.size() - used_ < count) {
            flush();
            if (buffer_.size() < count) buffer_.resize(count);
        }
        char* at = buffer_.data() + used_;
        used_ += count;
        return at;
    }
    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }
    void put(char c) { *room(1) = c; }
    void put(const char* characters, std::size_t count) {
        std::memcpy(room(count), characters, count);
    }

    void separate() {
        if (!first_) put(',');
        first_ = false;
    }

    std::ostream& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool first_ = true;
};

void quantity(JsonText& out, const Quantity& q) {
    out.open('{');
    out.key("name").string(q.name);
    out.key("unit").string(q.unit);
    out.close('}');
}

void field(JsonText& out, const Field& field) {
    out.open('{');
    out.key("name").string(field.name);
    out.key("unit").string(field.unit);
    out.key("value").number(field.value);
    out.key("raw").number(field.raw);
    if (field.text) out.key("text").string(*field.text);
    out.close('}');
}

// Cells row after row as one array per row; NaN, an absent value, is null.
void rows(JsonText& out, const std::vector<double>& cells, std::size_t width) {
    out.open('[');
    for (std::size_t at = 0; width > 0 && at < cells.size(); at += width) {
        out.open('[');
        out.numbers(cells.data() + at, width);
        out.close(']');
    }
    out.close(']');
}

void grid(JsonText& out, const Grid& grid) {
    out.open('{');
    out.key("title").string(grid.title);
    out.key("x");
    quantity(out, grid.x);
    out.key("xValues").open('[');
    out.numbers(grid.xValues.data(), grid.xValues.size());
    out.close(']');
    out.key("columns").open('[');
    for (const Quantity& column : grid.columns) quantity(out, column);
    out.close(']');
    out.key("values");
    rows(out, grid.values, grid.columns.size());
    out.key("raw");
    rows(out, grid.raw, grid.columns.size());
    out.key("chart").boolean(grid.chart);
    out.close('}');
}

const char* stateName(BlockState state) {
    switch (state) {
        case BlockState::Verified:
            return "verified";
        case BlockState::ChecksumFailed:
            return "checksumFailed";
        case BlockState::UnknownId:
            return "unknownId";
        case BlockState::Unloadable:
            return "unloadable";
    }
    return "";
}

void block(JsonText& out, const Block& block, const BlockContent& content) {
    out.open('{');
    out.key("offset").number(static_cast<double>(block.offset));
    out.key("id").number(block.id);
    out.key("length").number(block.length);
    out.key("name").string(block.name);
    out.key("className").string(block.className);
    out.key("instance");
    if (block.instance.kind.empty()) {
        out.null();
    } else {
        out.open('{');
        out.key("kind").string(block.instance.kind);
        out.key("index").number(block.instance.index);
        out.key("label").string(block.instance.label);
        out.close('}');
    }
    out.key("state").string(stateName(block.state));
    out.key("checksum").open('{');
    out.key("stored").number(block.storedChecksum);
    out.key("computed").number(block.computedChecksum);
    out.key("ok").boolean(block.state == BlockState::Verified);
    out.close('}');
    out.key("fields").open('[');
    for (const Field& each : content.fields) field(out, each);
    out.close(']');
    out.key("grids").open('[');
    for (const Grid& each : content.grids) grid(out, each);
    out.close(']');
    if (block.state == BlockState::UnknownId || block.state == BlockState::Unloadable) {
        out.key("rawHex").string(hexOf(block.bytes.data(), block.bytes.size()));
    }
    out.close('}');
}

const char* walkEndName(WalkEnd end) {
    switch (end) {
        case WalkEnd::EndBlock:
            return "end";
        case WalkEnd::CutShort:
            return "cutShort";
        case WalkEnd::UntrustedLength:
            return "untrustedLength";
        case WalkEnd::IdentOnly:
            return "identOnly";
    }
    return "";
}

const char* trailingName(TrailingPattern pattern) {
    switch (pattern) {
        case TrailingPattern::None:
            return "none";
        case TrailingPattern::Erased:
            return "erased";
        case TrailingPattern::Zero:
            return "zero";
        case TrailingPattern::Content:
            return "content";
    }
    return "";
}

void report(JsonText& out, const Report& report, const ContentSource& contentOf = {}) {
    const BoardSummary& board = report.board;
    const ImageStatus& status = report.status;
    out.open('{');
    out.key("file").open('{');
    out.key("name").string(report.file.name);
    out.key("sha256").string(report.file.sha256);
    out.key("size").number(static_cast<double>(report.file.size));
    out.key("kind").string(report.file.kind);
    out.close('}');

    out.key("board").open('{');
    out.key("present").boolean(board.present);
    out.key("unitName").string(board.unitName);
    out.key("partNumber").string(board.partNumber);
    out.key("serialNumber").number(board.serialNumber);
    out.key("productDate").string(board.productDate);
    out.key("hardwareCode").number(board.hardwareCode);
    out.key("productIndex").string(board.productIndex);
    out.key("testInstruction").string(board.testInstruction);
    out.key("dataVersion").number(board.dataVersion);
    out.key("eepromSize").number(board.eepromSize);
    out.key("bytesInUse").number(static_cast<double>(board.bytesInUse));
    out.close('}');

    out.key("status").open('{');
    out.key("verified").boolean(!status.damaged());
    out.key("walkEnd").string(walkEndName(status.end));
    out.key("endOffset").number(static_cast<double>(status.endOffset));
    out.key("blockCount").number(static_cast<double>(report.blocks.size()));
    out.key("failedChecksums").number(static_cast<double>(status.failedChecksums));
    out.key("unknownIds").number(static_cast<double>(status.unknownIds));
    out.key("unloadable").number(static_cast<double>(status.unloadable));
    out.key("trailingBytes").number(static_cast<double>(status.trailingBytes));
    out.key("trailing").string(trailingName(status.trailing));
    out.close('}');

    out.key("service").open('{');
    out.key("records").open('[');
    for (const ServiceRecord& record : report.service.records) {
        out.open('{');
        out.key("id").number(record.id);
        out.key("department").string(record.department);
        out.key("date").string(record.date);
        out.key("hours").number(record.hours);
        out.key("hoursFraction").number(record.hoursFraction);
        out.key("operatingHours").number(record.hours + record.hoursFraction / 1e6);
        out.key("repairNumber").number(record.repairNumber);
        out.key("serviceCode").number(record.serviceCode);
        out.close('}');
    }
    out.close(']');
    out.key("modificationCodes").open('[');
    for (const ModificationCode& code : report.service.modificationCodes) {
        out.open('{');
        out.key("number").number(code.number);
        out.key("state").number(code.state);
        out.close('}');
    }
    out.close(']');
    out.key("statisticsHours").number(report.service.statisticsHours);
    out.close('}');

    out.key("blocks").open('[');
    for (std::size_t i = 0; i < report.blocks.size(); ++i) {
        const Block& each = report.blocks[i];
        if (contentOf) {
            block(out, each, contentOf(i));
        } else {
            block(out, each, each.content);
        }
    }
    out.close(']');
    out.close('}');
}

void change(JsonText& out, const ValueChange& change) {
    out.open('{');
    out.key("grid").string(change.grid);
    out.key("name").string(change.name);
    out.key("row");
    if (change.row) {
        out.number(static_cast<double>(*change.row));
    } else {
        out.null();
    }
    out.key("x").number(change.x);
    out.key("before").number(change.before);
    out.key("after").number(change.after);
    out.key("difference");
    if (change.before && change.after) {
        out.number(*change.after - *change.before);
    } else {
        out.null();
    }
    if (change.beforeText) out.key("beforeText").string(*change.beforeText);
    if (change.afterText) out.key("afterText").string(*change.afterText);
    out.close('}');
}

void changes(JsonText& out, const char* name, const std::vector<ValueChange>& list) {
    out.key(name).open('[');
    for (const ValueChange& each : list) change(out, each);
    out.close(']');
}

const char* pairStateName(PairState state) {
    switch (state) {
        case PairState::Same:
            return "same";
        case PairState::Changed:
            return "changed";
        case PairState::OnlyFirst:
            return "onlyFirst";
        case PairState::OnlySecond:
            return "onlySecond";
    }
    return "";
}

void labels(JsonText& out, const char* name, const Comparison& comparison, PairState state) {
    out.key(name).open('[');
    for (const BlockPair& pair : comparison.pairs) {
        if (pair.state == state) out.string(blockLabel(pair.id, pair.name));
    }
    out.close(']');
}

void envelope(JsonText& out, const char* kind) {
    out.open('{');
    out.key("format").string("quenview");
    out.key("formatVersion").number(kFormatVersion);
    out.key("kind").string(kind);
}

}  // namespace

std::string blockLabel(std::uint16_t id, const std::string& name) {
    return name.empty() ? "id " + std::to_string(id) : name;
}

void writeReportJson(std::ostream& stream, const Report& model, const ContentSource& contentOf) {
    JsonText out(stream);
    envelope(out, "report");
    out.key("report");
    report(out, model, contentOf);
    out.close('}');
    out.finish();
}

void writeComparisonJson(std::ostream& stream, const Comparison& comparison) {
    JsonText out(stream);
    envelope(out, "comparison");
    out.key("comparison").open('{');
    out.key("summary").open('{');
    out.key("compared").number(static_cast<double>(comparison.compared));
    out.key("changed").number(static_cast<double>(comparison.changed));
    labels(out, "changedBlocks", comparison, PairState::Changed);
    labels(out, "onlyFirst", comparison, PairState::OnlyFirst);
    labels(out, "onlySecond", comparison, PairState::OnlySecond);
    out.key("unitNamesDiffer").boolean(comparison.unitNamesDiffer);
    out.close('}');
    out.key("before");
    report(out, comparison.before);
    out.key("after");
    report(out, comparison.after);
    out.key("pairs").open('[');
    for (const BlockPair& pair : comparison.pairs) {
        out.open('{');
        out.key("id").number(pair.id);
        out.key("name").string(pair.name);
        out.key("state").string(pairStateName(pair.state));
        changes(out, "changes", pair.changes);
        out.key("rawChanged").boolean(pair.rawChanged);
        out.close('}');
    }
    out.close(']');
    changes(out, "identChanges", comparison.identChanges);
    changes(out, "serviceChanges", comparison.serviceChanges);
    out.close('}');
    out.close('}');
    out.finish();
}

std::string reportJson(const Report& report) {
    std::ostringstream out;
    writeReportJson(out, report);
    return out.str();
}

std::string comparisonJson(const Comparison& comparison) {
    std::ostringstream out;
    writeComparisonJson(out, comparison);
    return out.str();
}

}  // namespace quenview
