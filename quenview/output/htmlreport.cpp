#include "output/htmlreport.h"

#include <string_view>

#include "output/reportpage.h"

namespace quenview {

namespace {

void writeBytes(std::ostream& out, std::string_view bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Text of an element: nothing in it may open or close markup.
void writeEscapedText(std::ostream& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '<':
                out << "&lt;";
                break;
            case '>':
                out << "&gt;";
                break;
            case '&':
                out << "&amp;";
                break;
            default:
                out << c;
        }
    }
}

// "<" stands only inside JSON strings, where \u003c is the same character.
void writeScriptSafeJson(std::ostream& out, std::string_view json) {
    std::size_t from = 0;
    for (std::size_t at = json.find('<'); at != std::string_view::npos; at = json.find('<', from)) {
        writeBytes(out, json.substr(from, at - from));
        writeBytes(out, "\\u003c");
        from = at + 1;
    }
    writeBytes(out, json.substr(from));
}

}  // namespace

void writeHtmlReport(std::ostream& out, const std::string& modelJson, const std::string& title) {
    writeBytes(out, reportPageBeforeTitle());
    writeEscapedText(out, title);
    writeBytes(out, reportPageBeforeModel());
    writeScriptSafeJson(out, modelJson);
    writeBytes(out, reportPageAfterModel());
}

}  // namespace quenview
