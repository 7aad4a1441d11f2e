#pragma once
// Runs quorvel-cli as a child process with some environment variables set, in a chosen folder,
// with its standard output and error caught in files.
#include <map>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace quorvel {

struct CliOutcome {
    int exitStatus = -1; // -1 when the program did not end by exiting
    std::string out;
    std::string err;
};

class CliRunner {
  public:
    // The program's output files live in scratchDir, which must exist.
    explicit CliRunner(std::string scratchDir);

    // Variables set for the programs started from now on.
    void setEnv(const std::string& name, const std::string& value);
    // The folder the programs start in (default: the scratch folder).
    void setWorkingDir(const std::string& dir);
    // Gives the programs a terminal as standard error instead of a file.
    void setTerminalForErrors(bool terminal);

    // Runs the program to its end.
    CliOutcome run(const std::vector<std::string>& args);
    // Starts the program and returns at once; finish() waits for it.
    pid_t start(const std::vector<std::string>& args);
    CliOutcome finish(pid_t pid);

  private:
    std::string scratchDir_;
    std::string workingDir_;
    std::map<std::string, std::string> env_;
    bool terminalForErrors_ = false;
    std::thread terminalReader_;
    std::string terminalText_;
};

// Reads a whole file; empty when it cannot be read.
std::string fileContents(const std::string& path);

} // namespace quorvel
