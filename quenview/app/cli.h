#pragma once
// The command line of quenview: quenview [-o OUT] [--json] INPUT [SECOND].

#include <iosfwd>
#include <string>
#include <vector>

namespace quenview {

// Runs one invocation; args are the arguments after the program name. The
// report goes to a file (or to `out` with "-o -"), messages to `err`.
// Answers the exit status: 0 written and verified, 6 written and damaged,
// 5 usage or a file that cannot be read or written, or quenmap's status for a
// text that its conversion rejects.
int runQuenview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The default output of the inputs: beside the first, its extension replaced
// (FIRST-vs-SECOND with two inputs), ".html" or ".json".
std::string defaultOutputPath(const std::string& first, const std::string& second, bool json);

}  // namespace quenview
