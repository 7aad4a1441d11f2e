// json-table: prints the node table of a JSON text, or answers path queries on it.
//
//   json-table [FILE|-] [--get PATH]... [--count PATH]... [--decode] [--format]
//
// Without --get, --count or --format it prints one node per line: number, name, value, depth
// and type, separated by tabs. --get prints type, position and value per path (decoded with
// --decode), --count the member or element count, --format the re-indented text. Tab, CR, LF
// and backslash in names and values are written as \t, \r, \n and \\; other bytes go out as
// they are.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "json/JsonDocument.h"

namespace quorvel {
namespace {

struct Query {
    bool count = false;
    Text path;
};

struct Options {
    Text file = "-";
    std::vector<Query> queries;
    bool decode = false;
    bool format = false;
};

bool readOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--get" || arg == "--count") && i + 1 < argc) {
            options.queries.push_back({arg == "--count", argv[++i]});
        } else if (arg == "--decode") {
            options.decode = true;
        } else if (arg == "--format") {
            options.format = true;
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            options.file = arg;
        }
    }
    return true;
}

// The bytes of the file, or of standard input for "-"; false when the file cannot be read.
bool readInput(const Text& file, Bytes& input) {
    if (file == "-") {
        input.assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    input.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

Text escaped(const Text& t) {
    Text out;
    for (char c : t) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void printLine(const Text& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void printTable(const JsonDocument& document) {
    for (std::int32_t n = 1; n <= document.nodeCount(); ++n) {
        const JsonNode node = document.getNode(n);
        printLine(concat(toText(n), "\t", escaped(node.name), "\t", escaped(node.value), "\t",
                         toText(node.depth), "\t", toText(node.type)));
    }
}

void printQuery(const JsonDocument& document, const Query& query, bool decode) {
    if (query.count) {
        printLine(toText(document.getCount(query.path)));
        return;
    }
    std::int32_t type = 0, position = 0;
    const Text value = document.getValue(query.path, &type, &position, decode);
    printLine(concat(toText(type), "\t", toText(position), "\t", escaped(value)));
}

int run(int argc, char** argv) {
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fputs("usage: json-table [FILE|-] [--get PATH]... [--count PATH]... [--decode] "
                   "[--format]\n",
                   stderr);
        return 2;
    }
    Bytes input;
    if (!readInput(options.file, input)) {
        std::fprintf(stderr, "json-table: cannot read %s\n", options.file.c_str());
        return 1;
    }
    JsonDocument document;
    if (options.format) {
        const Text formatted = document.formatText(toText(input));
        std::fwrite(formatted.data(), 1, formatted.size(), stdout);
        return 0;
    }
    document.parseBytes(input);
    if (options.queries.empty()) printTable(document);
    for (const Query& query : options.queries)
        printQuery(document, query, options.decode);
    return 0;
}

} // namespace
} // namespace quorvel

int main(int argc, char** argv) {
    return quorvel::run(argc, argv);
}
