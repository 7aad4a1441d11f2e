#pragma once
// quorvel-cli: search, resolve and download from a terminal or a script, over the same service
// client as the windowed program. Its output is UTF-8.
#include <string>
#include <vector>

namespace quorvel {

// Runs the command line (the arguments after the program name) and gives the exit status:
// 0 done, 1 nothing found or no link, 2 usage error, 3 network or file failure, 128 + the
// signal's number when a download was interrupted.
int runCli(const std::vector<std::string>& args);

} // namespace quorvel
