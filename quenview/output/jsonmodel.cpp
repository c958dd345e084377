#include "jsonmodel.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "model/hex.h"

namespace quenview {

namespace {

using nlohmann::json;

// JSON has no NaN or infinity: a real that is not finite is null.
json number(double value) {
    if (!std::isfinite(value)) return nullptr;
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

json number(const std::optional<double>& value) {
    return value ? number(*value) : json(nullptr);
}

// The model's texts are the board's own, in Latin-1 (German comment words,
// department names); JSON is UTF-8.
json text(const std::string& latin1) {
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
    return utf8;
}

json quantity(const Quantity& q) {
    return {{"name", text(q.name)}, {"unit", text(q.unit)}};
}

json fieldJson(const Field& field) {
    json out = {{"name", text(field.name)},
                {"unit", text(field.unit)},
                {"value", number(field.value)},
                {"raw", number(field.raw)}};
    if (field.text) out["text"] = text(*field.text);
    return out;
}

json gridJson(const Grid& grid) {
    json xValues = json::array();
    for (double x : grid.xValues) xValues.push_back(number(x));
    json columns = json::array();
    for (const Quantity& column : grid.columns) columns.push_back(quantity(column));
    json values = json::array();
    for (const auto& row : grid.values) {
        json cells = json::array();
        for (const auto& cell : row) cells.push_back(number(cell));
        values.push_back(std::move(cells));
    }
    json raw = json::array();
    for (const auto& row : grid.raw) {
        json cells = json::array();
        for (double cell : row) cells.push_back(number(cell));
        raw.push_back(std::move(cells));
    }
    return {{"title", text(grid.title)},
            {"x", quantity(grid.x)},
            {"xValues", std::move(xValues)},
            {"columns", std::move(columns)},
            {"values", std::move(values)},
            {"raw", std::move(raw)},
            {"chart", grid.chart}};
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

json blockJson(const Block& block) {
    json out = {{"offset", block.offset},
                {"id", block.id},
                {"length", block.length},
                {"name", text(block.name)},
                {"className", text(block.className)},
                {"state", stateName(block.state)},
                {"checksum",
                 {{"stored", block.storedChecksum},
                  {"computed", block.computedChecksum},
                  {"ok", block.state == BlockState::Verified}}}};
    out["instance"] = block.instance.kind.empty() ? json(nullptr)
                                                  : json{{"kind", block.instance.kind},
                                                         {"index", block.instance.index},
                                                         {"label", block.instance.label}};
    json fields = json::array();
    for (const Field& field : block.content.fields) fields.push_back(fieldJson(field));
    out["fields"] = std::move(fields);
    json grids = json::array();
    for (const Grid& grid : block.content.grids) grids.push_back(gridJson(grid));
    out["grids"] = std::move(grids);
    if (block.state == BlockState::UnknownId || block.state == BlockState::Unloadable) {
        out["rawHex"] = hexOf(block.bytes.data(), block.bytes.size());
    }
    return out;
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

json reportObject(const Report& report) {
    const BoardSummary& board = report.board;
    const ImageStatus& status = report.status;
    json records = json::array();
    for (const ServiceRecord& record : report.service.records) {
        records.push_back({{"id", record.id},
                           {"department", text(record.department)},
                           {"date", record.date},
                           {"hours", record.hours},
                           {"hoursFraction", record.hoursFraction},
                           {"operatingHours", number(record.hours + record.hoursFraction / 1e6)},
                           {"repairNumber", record.repairNumber},
                           {"serviceCode", record.serviceCode}});
    }
    json codes = json::array();
    for (const ModificationCode& code : report.service.modificationCodes) {
        codes.push_back({{"number", code.number}, {"state", code.state}});
    }
    json blocks = json::array();
    for (const Block& block : report.blocks) blocks.push_back(blockJson(block));
    return {
        {"file",
         {{"name", report.file.name},
          {"sha256", report.file.sha256},
          {"size", report.file.size},
          {"kind", report.file.kind}}},
        {"board",
         {{"present", board.present},
          {"unitName", text(board.unitName)},
          {"partNumber", board.partNumber},
          {"serialNumber", board.serialNumber},
          {"productDate", board.productDate},
          {"hardwareCode", board.hardwareCode},
          {"productIndex", board.productIndex},
          {"testInstruction", board.testInstruction},
          {"dataVersion", board.dataVersion},
          {"eepromSize", board.eepromSize},
          {"bytesInUse", board.bytesInUse}}},
        {"status",
         {{"verified", !status.damaged()},
          {"walkEnd", walkEndName(status.end)},
          {"endOffset", status.endOffset},
          {"blockCount", report.blocks.size()},
          {"failedChecksums", status.failedChecksums},
          {"unknownIds", status.unknownIds},
          {"unloadable", status.unloadable},
          {"trailingBytes", status.trailingBytes},
          {"trailing", trailingName(status.trailing)}}},
        {"service",
         {{"records", std::move(records)},
          {"modificationCodes", std::move(codes)},
          {"statisticsHours", number(report.service.statisticsHours)}}},
        {"blocks", std::move(blocks)},
    };
}

json changeJson(const ValueChange& change) {
    json out = {{"grid", text(change.grid)},
                {"name", text(change.name)},
                {"row", change.row ? json(*change.row) : json(nullptr)},
                {"x", number(change.x)},
                {"before", number(change.before)},
                {"after", number(change.after)}};
    out["difference"] =
        change.before && change.after ? number(*change.after - *change.before) : json(nullptr);
    if (change.beforeText) out["beforeText"] = text(*change.beforeText);
    if (change.afterText) out["afterText"] = text(*change.afterText);
    return out;
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

json envelope(const char* kind) {
    return {{"format", "quenview"}, {"formatVersion", kFormatVersion}, {"kind", kind}};
}

}  // namespace

std::string blockLabel(std::uint16_t id, const std::string& name) {
    return name.empty() ? "id " + std::to_string(id) : name;
}

std::string reportJson(const Report& report) {
    json out = envelope("report");
    out["report"] = reportObject(report);
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string comparisonJson(const Comparison& comparison) {
    json changedBlocks = json::array();
    json onlyFirst = json::array();
    json onlySecond = json::array();
    json pairs = json::array();
    for (const BlockPair& pair : comparison.pairs) {
        const std::string label = blockLabel(pair.id, pair.name);
        if (pair.state == PairState::Changed) changedBlocks.push_back(text(label));
        if (pair.state == PairState::OnlyFirst) onlyFirst.push_back(text(label));
        if (pair.state == PairState::OnlySecond) onlySecond.push_back(text(label));
        json changes = json::array();
        for (const ValueChange& change : pair.changes) changes.push_back(changeJson(change));
        pairs.push_back({{"id", pair.id},
                         {"name", text(pair.name)},
                         {"state", pairStateName(pair.state)},
                         {"changes", std::move(changes)},
                         {"rawChanged", pair.rawChanged}});
    }
    json identChanges = json::array();
    for (const ValueChange& change : comparison.identChanges)
        identChanges.push_back(changeJson(change));
    json serviceChanges = json::array();
    for (const ValueChange& change : comparison.serviceChanges) {
        serviceChanges.push_back(changeJson(change));
    }
    json out = envelope("comparison");
    out["comparison"] = {{"summary",
                          {{"compared", comparison.compared},
                           {"changed", comparison.changed},
                           {"changedBlocks", std::move(changedBlocks)},
                           {"onlyFirst", std::move(onlyFirst)},
                           {"onlySecond", std::move(onlySecond)},
                           {"unitNamesDiffer", comparison.unitNamesDiffer}}},
                         {"before", reportObject(comparison.before)},
                         {"after", reportObject(comparison.after)},
                         {"pairs", std::move(pairs)},
                         {"identChanges", std::move(identChanges)},
                         {"serviceChanges", std::move(serviceChanges)}};
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace quenview
