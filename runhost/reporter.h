#pragma once

#include <string>

namespace runhost {

class Platform;

// Errors go to a message box until a console is attached; status lines go to
// standard output, the verbose ones only when verbose mode is on.
class Reporter {
  public:
    Reporter(Platform& platform, bool verbose);

    bool verbose() const { return verbose_; }
    bool consoleMode() const { return consoleMode_; }
    void useConsole() { consoleMode_ = true; }
    // Some failures must be seen even when started from a console.
    void useMessageBoxForGood() { consoleMode_ = false; }

    void reportError(const std::string& text);
    // The line title ":" text.
    void reportStatus(const std::string& text, const std::string& title);
    // A "Status" line, verbose mode only.
    void status(const std::string& text);
    // A plain line on standard output, verbose mode only.
    void verboseLine(const std::string& text);
    // A plain line on standard output.
    void line(const std::string& text);
    // Text written as it is, verbose mode only.
    void verboseText(const std::string& text);

  private:
    Platform& platform_;
    bool verbose_;
    bool consoleMode_ = false;
};

}  // namespace runhost
