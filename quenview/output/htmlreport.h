#pragma once
// The HTML report: one self-contained page that shows a report or a comparison
// from the model's JSON (the same JSON that --json writes).

#include <ostream>
#include <string>

namespace quenview {

// Writes the page with modelJson inside its data element; title names the
// board or the two files. Every "<" of the JSON is written as \u003c, so
// that no text of the model can end the element or open markup; the page
// reads the same JSON back.
void writeHtmlReport(std::ostream& out, const std::string& modelJson, const std::string& title);

}  // namespace quenview
