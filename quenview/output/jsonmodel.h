#pragma once
// The data model as JSON: the file that "--json" writes and the data that the
// HTML report carries. Its schema is docs/quenview.schema.json.

#include <functional>
#include <ostream>
#include <string>

#include "model/model.h"

namespace quenview {

constexpr int kFormatVersion = 1;

// The decoded content of the report's block blockIndex, asked for when the
// writer comes to the block; without it, the blocks' own contents are written.
using ContentSource = std::function<BlockContent(std::size_t blockIndex)>;

// The document goes to the stream as it is written.
void writeReportJson(std::ostream& out, const Report& report, const ContentSource& contentOf = {});
void writeComparisonJson(std::ostream& out, const Comparison& comparison);
std::string reportJson(const Report& report);
std::string comparisonJson(const Comparison& comparison);

// The label a block goes by in summaries: its text name, or its id when no
// type owns it.
std::string blockLabel(std::uint16_t id, const std::string& name);

}  // namespace quenview
