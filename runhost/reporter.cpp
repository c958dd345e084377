#include "reporter.h"

#include "platform.h"

namespace runhost {

namespace {
const char kErrorCaption[] = "Error";
}

Reporter::Reporter(Platform& platform, bool verbose) : platform_(platform), verbose_(verbose) {}

void Reporter::reportError(const std::string& text) {
    if (consoleMode_) {
        platform_.writeError(std::string(kErrorCaption) + ":" + text + "\n");
    } else {
        platform_.showMessageBox(kErrorCaption, text);
    }
}

void Reporter::reportStatus(const std::string& text, const std::string& title) {
    platform_.writeOutput(title + ":" + text + "\n");
}

void Reporter::status(const std::string& text) {
    if (verbose_) reportStatus(text, "Status");
}

void Reporter::verboseLine(const std::string& text) {
    if (verbose_) line(text);
}

void Reporter::line(const std::string& text) {
    platform_.writeOutput(text + "\n");
}

void Reporter::verboseText(const std::string& text) {
    if (verbose_) platform_.writeOutput(text);
}

}  // namespace runhost
