#pragma once
// The HTML report: one self-contained page that shows the data model.

#include <ostream>
#include <string>

namespace quenview {

// Writes the page for the model's JSON (a report or a comparison); title
// names the board or the two files.
void writeHtmlReport(std::ostream& out, const std::string& modelJson, const std::string& title);

}  // namespace quenview
