#include "CliRunner.h"

#include <fcntl.h>
#include <fstream>
#include <pty.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quorvel {

CliRunner::CliRunner(std::string scratchDir)
    : scratchDir_(std::move(scratchDir)), workingDir_(scratchDir_) {}

void CliRunner::setEnv(const std::string& name, const std::string& value) {
    env_[name] = value;
}

void CliRunner::setWorkingDir(const std::string& dir) {
    workingDir_ = dir;
}

void CliRunner::setTerminalForErrors(bool terminal) {
    terminalForErrors_ = terminal;
}

pid_t CliRunner::start(const std::vector<std::string>& args) {
    std::vector<std::string> words = {QUORVEL_CLI_PROGRAM};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<std::string> variables;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!env_.count(entry.substr(0, entry.find('=')))) variables.push_back(entry);
    }
    for (const auto& [name, value] : env_)
        variables.push_back(name + "=" + value);
    // Everything the child needs is built before the fork.
    std::vector<char*> argv, envp;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    for (auto& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    const std::string outPath = scratchDir_ + "/cli-stdout", errPath = scratchDir_ + "/cli-stderr";
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int terminal = -1;
    if (terminalForErrors_) {
        close(err);
        openpty(&terminal, &err, nullptr, nullptr, nullptr);
    }
    const int in = open("/dev/null", O_RDONLY);
    const pid_t pid = fork();
    if (pid == 0) {
        if (terminal >= 0) close(terminal);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(workingDir_.c_str()) == 0) execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(in);
    close(out);
    close(err);
    if (terminal >= 0) // drained while the program runs; ends when the program's side closes
        terminalReader_ = std::thread([this, terminal] {
            char buffer[4096];
            ssize_t n;
            while ((n = read(terminal, buffer, sizeof buffer)) > 0)
                terminalText_.append(buffer, static_cast<size_t>(n));
            close(terminal);
        });
    return pid;
}

CliOutcome CliRunner::finish(pid_t pid) {
    int status = 0;
    CliOutcome outcome;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        outcome.exitStatus = WEXITSTATUS(status);
    outcome.out = fileContents(scratchDir_ + "/cli-stdout");
    outcome.err = fileContents(scratchDir_ + "/cli-stderr");
    if (terminalReader_.joinable()) {
        terminalReader_.join();
        outcome.err = std::move(terminalText_);
        terminalText_.clear();
    }
    return outcome;
}

CliOutcome CliRunner::run(const std::vector<std::string>& args) {
    return finish(start(args));
}

std::string fileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace quorvel
