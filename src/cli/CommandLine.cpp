#include "cli/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>

namespace quorvel {

namespace {

struct CommandInfo {
    Command command;
    const char* name;
    const char* usage;
};

const CommandInfo commands[] = {
    {Command::None, "",
     "usage: quorvel-cli COMMAND [OPTIONS]\n"
     "Finds songs on the Kugou music service and fetches them.\n"
     "\n"
     "commands:\n"
     "  search KEYWORD   list the hits: number, file name, 128K, HQ and SQ file hashes\n"
     "  resolve HASH     show a file's details and its download link\n"
     "  download HASH    resolve a file hash and download the file\n"
     "  get KEYWORD      search, resolve one hit and download it\n"
     "\n"
     "  quorvel-cli COMMAND --help   the options of a command\n"
     "  quorvel-cli --version        the program's version\n"
     "\n"
     "Exit status: 0 done, 1 nothing found or no link, 2 usage error,\n"
     "3 network or file failure, 130 interrupted.\n"
     "QUORVEL_SEARCH_HOST and QUORVEL_PLAY_HOST (host or host:port) override the service hosts.\n"},
    {Command::Search, "search",
     "usage: quorvel-cli search KEYWORD [--tsv]\n"
     "Lists the song-search hits for KEYWORD, one per line: number, file name, and the\n"
     "128K, HQ and SQ file hashes (blank where the file is missing).\n"
     "  --tsv   tab-separated fields, without the header line\n"},
    {Command::Resolve, "resolve",
     "usage: quorvel-cli resolve HASH [--lyrics FILE]\n"
     "Prints the duration, size, song name, album, album picture and bit rate of the file\n"
     "HASH, then its download link.\n"
     "  --lyrics FILE   also write the lyrics to FILE (GBK text)\n"},
    {Command::Download, "download",
     "usage: quorvel-cli download HASH [-o PATH]\n"
     "Resolves HASH, downloads the file and prints the path written.\n"
     "  -o, --output PATH   the file to write, or a folder to write into (default: the song\n"
     "                      name plus the link's extension, in the current folder)\n"},
    {Command::Get, "get",
     "usage: quorvel-cli get KEYWORD [--quality 128|hq|sq] [--pick N] [-o DIR]\n"
     "Searches for KEYWORD, resolves hit N at the quality, downloads it into DIR and prints\n"
     "the path written.\n"
     "  --quality Q        128 (default), hq (320K) or sq (lossless)\n"
     "  --pick N           the hit to take, counted from 1 (default 1)\n"
     "  -o, --output DIR   the folder to write into (default: the current folder)\n"},
};

const CommandInfo& info(Command command) {
    return *std::find_if(std::begin(commands), std::end(commands),
                         [&](const CommandInfo& c) { return c.command == command; });
}

std::optional<Command> commandNamed(const std::string& name) {
    for (const CommandInfo& c : commands)
        if (c.command != Command::None && name == c.name) return c.command;
    return std::nullopt;
}

std::optional<Quality> qualityNamed(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "128") return Quality::Standard;
    if (name == "hq") return Quality::High;
    if (name == "sq") return Quality::Lossless;
    return std::nullopt;
}

std::optional<int> positiveNumber(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int n = std::stoi(text);
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

// An option of a command: its names, and what it does with its value (flags take none). The
// setter gives an error text for an unusable value.
struct OptionRule {
    Command command;
    const char* shortName; // "" when there is none
    const char* longName;
    bool takesValue;
    std::function<std::string(CliRequest&, const std::string&)> set;
};

const std::vector<OptionRule>& optionRules() {
    static const std::vector<OptionRule> rules = {
        {Command::Search, "", "--tsv", false,
         [](CliRequest& r, const std::string&) {
             r.tsv = true;
             return std::string();
         }},
        {Command::Resolve, "", "--lyrics", true,
         [](CliRequest& r, const std::string& v) {
             r.lyricsFile = v;
             return std::string();
         }},
        {Command::Download, "-o", "--output", true,
         [](CliRequest& r, const std::string& v) {
             r.output = v;
             return std::string();
         }},
        {Command::Get, "-o", "--output", true,
         [](CliRequest& r, const std::string& v) {
             r.output = v;
             return std::string();
         }},
        {Command::Get, "", "--quality", true,
         [](CliRequest& r, const std::string& v) {
             auto quality = qualityNamed(v);
             if (!quality) return "unknown quality '" + v + "' (128, hq or sq)";
             r.quality = *quality;
             return std::string();
         }},
        {Command::Get, "", "--pick", true,
         [](CliRequest& r, const std::string& v) {
             auto pick = positiveNumber(v);
             if (!pick) return "--pick needs a hit number from 1, not '" + v + "'";
             r.pick = *pick;
             return std::string();
         }},
    };
    return rules;
}

const OptionRule* findOption(Command command, const std::string& name) {
    for (const OptionRule& rule : optionRules())
        if (rule.command == command && (name == rule.longName || name == rule.shortName))
            return &rule;
    return nullptr;
}

bool looksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool takesKeyword(Command command) {
    return command == Command::Search || command == Command::Get;
}

// Reads the options and the words after the command name into parsed.
void readCommandArguments(const std::vector<std::string>& args, ParsedCommandLine& parsed) {
    CliRequest& request = parsed.request;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size() && parsed.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            request.help = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const OptionRule* rule = findOption(request.command, name);
        if (!rule) {
            parsed.error = "unknown option '" + name + "'";
        } else if (!rule->takesValue) {
            if (equals != std::string::npos)
                parsed.error = "option '" + name + "' takes no value";
            else
                rule->set(request, {});
        } else if (equals != std::string::npos) {
            parsed.error = rule->set(request, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed.error = rule->set(request, args[++i]);
        } else {
            parsed.error = "option '" + name + "' needs a value";
        }
    }
    if (!parsed.error.empty() || request.help) return;
    const char* what = takesKeyword(request.command) ? "KEYWORD" : "HASH";
    if (words.empty()) {
        parsed.error = std::string("missing ") + what;
    } else if (!takesKeyword(request.command) && words.size() > 1) {
        parsed.error = "one HASH expected, got " + std::to_string(words.size()) + " words";
    } else {
        for (const std::string& word : words)
            request.argument += (request.argument.empty() ? "" : " ") + word;
        if (request.argument.find_first_not_of(' ') == std::string::npos)
            parsed.error = std::string("empty ") + what;
    }
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    if (args.empty()) {
        parsed.error = "no command given";
        return parsed;
    }
    const std::string& first = args[0];
    if (first == "--version" || first == "--help" || first == "-h") {
        parsed.request.version = first == "--version";
        parsed.request.help = !parsed.request.version;
        if (args.size() > 1) parsed.error = "'" + first + "' takes nothing after it";
        return parsed;
    }
    auto command = commandNamed(first);
    if (!command) {
        parsed.error = "unknown command '" + first + "'";
        return parsed;
    }
    parsed.request.command = *command;
    readCommandArguments(args, parsed);
    return parsed;
}

std::string usageText(Command command) {
    return info(command).usage;
}

std::string commandName(Command command) {
    return info(command).name;
}

} // namespace quorvel
