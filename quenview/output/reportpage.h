#pragma once
// The report page, embedded at build time from quenview/web/ with the chart
// library: its bytes around the two places filled when a report is written,
// the page's title and the model's JSON.

#include <string_view>

namespace quenview {

std::string_view reportPageBeforeTitle();
std::string_view reportPageBeforeModel();
std::string_view reportPageAfterModel();

}  // namespace quenview
