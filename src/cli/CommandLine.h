#pragma once
// The command line of quorvel-cli: a command, its argument and its options. Arguments are
// UTF-8, as the terminal gives them.
#include <string>
#include <vector>

namespace quorvel {

enum class Command { None, Search, Resolve, Download, Get };
enum class Quality { Standard, High, Lossless };

struct CliRequest {
    Command command = Command::None;
    bool help = false;    // --help: the usage of the command (None: of the program)
    bool version = false; // --version
    std::string argument; // the keyword (words joined by blanks) or the file hash
    bool tsv = false;
    std::string lyricsFile;
    std::string output; // -o: the file or folder to write
    Quality quality = Quality::Standard;
    int pick = 1; // 1-based hit number
};

struct ParsedCommandLine {
    CliRequest request;
    std::string error; // why the command line is unusable; empty when it is fine
};

// Reads the arguments after the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);
// The usage text of a command, or of the whole program for Command::None.
std::string usageText(Command command);
// The name a command is called by ("" for Command::None).
std::string commandName(Command command);

} // namespace quorvel
