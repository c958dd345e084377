#include "compare.h"

#include <cmath>
#include <map>
#include <utility>

namespace quenview {

namespace {

bool sameValue(const std::optional<double>& a, const std::optional<double>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return *a == *b || (std::isnan(*a) && std::isnan(*b));
}

template <typename T>
std::optional<T> at(const std::vector<T>& values, std::size_t index) {
    return index < values.size() ? std::optional<T>(values[index]) : std::nullopt;
}

void compareFields(const std::vector<Field>& before, const std::vector<Field>& after,
                   std::vector<ValueChange>& changes) {
    const std::size_t count = std::max(before.size(), after.size());
    for (std::size_t i = 0; i < count; ++i) {
        const Field* a = i < before.size() ? &before[i] : nullptr;
        const Field* b = i < after.size() ? &after[i] : nullptr;
        if (a && b && sameValue(a->value, b->value) && a->text == b->text) continue;
        ValueChange change;
        change.name = (a ? a : b)->name;
        if (a) change.before = a->value, change.beforeText = a->text;
        if (b) change.after = b->value, change.afterText = b->text;
        changes.push_back(std::move(change));
    }
}

// A cell that one grid has and the other has not is a change too.
void compareGrid(const Grid* before, const Grid* after, std::vector<ValueChange>& changes) {
    const Grid& named = before ? *before : *after;
    const std::size_t rowsA = before ? before->rows() : 0;
    const std::size_t rowsB = after ? after->rows() : 0;
    const std::size_t columnsA = before ? before->columns.size() : 0;
    const std::size_t columnsB = after ? after->columns.size() : 0;
    const std::size_t rows = std::max(rowsA, rowsB);
    const std::size_t columns = std::max(columnsA, columnsB);
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            const bool inA = r < rowsA && c < columnsA;
            const bool inB = r < rowsB && c < columnsB;
            const std::optional<double> a = inA ? before->valueAt(r, c) : std::nullopt;
            const std::optional<double> b = inB ? after->valueAt(r, c) : std::nullopt;
            if (inA == inB && sameValue(a, b)) continue;
            ValueChange change;
            change.grid = named.title;
            const Grid& columnsOf = c < columnsA ? *before : *after;
            change.name = columnsOf.columns[c].name;
            change.row = r;
            const Grid& labelled = r < rowsA ? *before : *after;
            if (auto x = at(labelled.xValues, r)) change.x = *x;
            change.before = a;
            change.after = b;
            changes.push_back(std::move(change));
        }
    }
}

void compareContent(const BlockContent& before, const BlockContent& after,
                    std::vector<ValueChange>& changes) {
    compareFields(before.fields, after.fields, changes);
    const std::size_t grids = std::max(before.grids.size(), after.grids.size());
    for (std::size_t g = 0; g < grids; ++g) {
        compareGrid(g < before.grids.size() ? &before.grids[g] : nullptr,
                    g < after.grids.size() ? &after.grids[g] : nullptr, changes);
    }
}

ValueChange textChange(const char* name, const std::string& before, const std::string& after) {
    ValueChange change;
    change.name = name;
    change.beforeText = before;
    change.afterText = after;
    return change;
}

ValueChange numberChange(const char* name, double before, double after) {
    ValueChange change;
    change.name = name;
    change.before = before;
    change.after = after;
    return change;
}

void compareBoards(const BoardSummary& a, const BoardSummary& b, std::vector<ValueChange>& out) {
    auto text = [&](const char* name, const std::string& x, const std::string& y) {
        if (x != y) out.push_back(textChange(name, x, y));
    };
    auto number = [&](const char* name, double x, double y) {
        if (x != y) out.push_back(numberChange(name, x, y));
    };
    text("unitName", a.unitName, b.unitName);
    text("partNumber", a.partNumber, b.partNumber);
    number("serialNumber", a.serialNumber, b.serialNumber);
    text("productDate", a.productDate, b.productDate);
    number("hardwareCode", a.hardwareCode, b.hardwareCode);
    text("productIndex", a.productIndex, b.productIndex);
    text("testInstruction", a.testInstruction, b.testInstruction);
    number("eepromSize", a.eepromSize, b.eepromSize);
    number("bytesInUse", static_cast<double>(a.bytesInUse), static_cast<double>(b.bytesInUse));
}

void compareService(const ServiceHistory& a, const ServiceHistory& b,
                    std::vector<ValueChange>& out) {
    std::map<std::uint16_t, std::pair<const ServiceRecord*, const ServiceRecord*>> records;
    for (const ServiceRecord& record : a.records) records[record.id].first = &record;
    for (const ServiceRecord& record : b.records) records[record.id].second = &record;
    static const ServiceRecord kAbsent;
    for (const auto& entry : records) {
        const std::uint16_t id = entry.first;
        const auto& pair = entry.second;
        const ServiceRecord& x = pair.first ? *pair.first : kAbsent;
        const ServiceRecord& y = pair.second ? *pair.second : kAbsent;
        const std::size_t first = out.size();
        auto text = [&](const char* name, const std::string& p, const std::string& q) {
            if (p != q || !pair.first || !pair.second) out.push_back(textChange(name, p, q));
        };
        auto number = [&](const char* name, double p, double q) {
            if (p != q || !pair.first || !pair.second) out.push_back(numberChange(name, p, q));
        };
        text("department", x.department, y.department);
        text("date", x.date, y.date);
        number("operatingHours", x.hours + x.hoursFraction / 1e6, y.hours + y.hoursFraction / 1e6);
        number("repairNumber", x.repairNumber, y.repairNumber);
        number("serviceCode", x.serviceCode, y.serviceCode);
        for (std::size_t i = first; i < out.size(); ++i) {
            out[i].grid = "SERVICE_" + std::to_string(id);
            if (!pair.first) out[i].before.reset(), out[i].beforeText.reset();
            if (!pair.second) out[i].after.reset(), out[i].afterText.reset();
        }
    }
    const std::size_t codes = std::max(a.modificationCodes.size(), b.modificationCodes.size());
    for (std::size_t i = 0; i < codes; ++i) {
        auto x = at(a.modificationCodes, i);
        auto y = at(b.modificationCodes, i);
        auto code = [](const std::optional<ModificationCode>& m) -> std::optional<double> {
            if (!m) return std::nullopt;
            return static_cast<double>(m->number | (m->state << 14));
        };
        if (sameValue(code(x), code(y))) continue;
        ValueChange change;
        change.grid = "MODIFICATION_100";
        change.name = "code";
        change.row = i;
        change.before = code(x);
        change.after = code(y);
        out.push_back(change);
    }
    if (!sameValue(a.statisticsHours, b.statisticsHours)) {
        ValueChange change;
        change.grid = "STATISTICS_300";
        change.name = "operatingHours";
        change.before = a.statisticsHours;
        change.after = b.statisticsHours;
        out.push_back(change);
    }
}

}  // namespace

Comparison compareReports(Report before, Report after) {
    Comparison comparison;
    comparison.before = std::move(before);
    comparison.after = std::move(after);
    const Report& a = comparison.before;
    const Report& b = comparison.after;
    comparison.unitNamesDiffer = a.board.unitName != b.board.unitName;
    compareBoards(a.board, b.board, comparison.identChanges);
    compareService(a.service, b.service, comparison.serviceChanges);

    // The n-th block of an id in one image meets the n-th of the same id in the other.
    std::map<std::pair<std::uint16_t, std::size_t>, std::size_t> inAfter;
    std::map<std::uint16_t, std::size_t> seen;
    for (std::size_t i = 0; i < b.blocks.size(); ++i)
        inAfter[{b.blocks[i].id, seen[b.blocks[i].id]++}] = i;
    seen.clear();
    std::vector<bool> paired(b.blocks.size(), false);
    for (const Block& block : a.blocks) {
        BlockPair pair;
        pair.id = block.id;
        pair.name = block.name;
        auto found = inAfter.find({block.id, seen[block.id]++});
        if (found == inAfter.end()) {
            pair.state = PairState::OnlyFirst;
        } else {
            const Block& other = b.blocks[found->second];
            paired[found->second] = true;
            ++comparison.compared;
            compareContent(block.content, other.content, pair.changes);
            pair.rawChanged = pair.changes.empty() && block.bytes != other.bytes;
            pair.state =
                pair.changes.empty() && !pair.rawChanged ? PairState::Same : PairState::Changed;
            if (pair.state == PairState::Changed) ++comparison.changed;
        }
        comparison.pairs.push_back(std::move(pair));
    }
    for (std::size_t i = 0; i < b.blocks.size(); ++i) {
        if (paired[i]) continue;
        BlockPair pair;
        pair.id = b.blocks[i].id;
        pair.name = b.blocks[i].name;
        pair.state = PairState::OnlySecond;
        comparison.pairs.push_back(std::move(pair));
    }
    return comparison;
}

}  // namespace quenview
