#include "htmlreport.h"

namespace quenview {

namespace {

// Text inside an element: nothing in it may open or close markup.
std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

void writeHtmlReport(std::ostream& out, const std::string& modelJson, const std::string& title) {
    // "<" never reaches the script element as it is, so no text of the model
    // can end it early.
    std::string safeJson;
    safeJson.reserve(modelJson.size());
    for (char c : modelJson) {
        if (c == '<') {
            safeJson += "\\u003c";
        } else {
            safeJson += c;
        }
    }
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>"
        << escapeHtml(title) << "</title></head><body><h1>" << escapeHtml(title)
        << "</h1><script type=\"application/json\" id=\"model\">" << safeJson
        << "</script></body></html>\n";
}

}  // namespace quenview
