#pragma once
// One conversion run of quenmap: the command line, the three files, the
// conversion in the requested direction, the run log and the exit status.
// Only main ends the process; the run returns its status.

#include <iosfwd>
#include <string>
#include <vector>

namespace quenmap {

// Exit statuses of a run.
enum RunStatus : int {
    kStatusSuccess = 0,
    kStatusTextError = 1,
    kStatusCountError = 2,
    kStatusNoConversion = 4,
    kStatusUsage = 5,
    kStatusUnknownBlockId = 6,
    kStatusUnknownDevice = 7,
};

constexpr int kToolMajorVersion = 1;
constexpr int kToolMinorVersion = 26;

struct Console {
    std::istream& in;   // the usage pause reads its key here
    std::ostream& out;  // usage text and table diagnostics
    std::ostream& err;  // fatal text messages
};

// args are the arguments after the program name.
int runQuenmap(const std::vector<std::string>& args, const Console& console);

}  // namespace quenmap
