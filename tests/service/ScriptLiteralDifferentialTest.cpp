// Compares the literal-and-unescape step with a real JavaScript engine (Node.js): each generated
// text is evaluated as the body of a single-quoted string literal and passed through unescape.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "text/CodePage.h"
#include "text/EscapeDecoding.h"

namespace quorvel {
namespace {

// Reads hex UTF-16 units per line (empty line: ""), writes the value's units or FAIL per line.
const char* const nodeScript = R"(
const fs = require('fs');
const [input, output] = process.argv.slice(2);
const units = (hex) => (hex.match(/.{4}/g) || []).map((h) => parseInt(h, 16));
const lines = fs.readFileSync(input, 'latin1').split('\n');
lines.pop();
const results = lines.map((line) => {
  const body = String.fromCharCode(...units(line));
  try {
    const value = unescape((0, eval)("'" + body + "'"));
    let hex = '';
    for (let i = 0; i < value.length; i++) hex += value.charCodeAt(i).toString(16).padStart(4, '0');
    return hex;
  } catch (e) {
    return 'FAIL';
  }
});
fs.writeFileSync(output, results.join('\n') + '\n');
)";

// Pieces of generated texts: letters, digits, percent escapes good and bad, Chinese text,
// double quotes, and a backslash before every escape letter. No line terminators, no bare
// apostrophe (the caller has replaced them), no malformed \x.
std::vector<Text> pieces() {
    std::vector<Text> list = {
        "a",      "Z",  "u",  "f",      "n",      "0",   "1",   "4",   "7",      "8",
        "9",      "%",  "%u", "%u4e2d", "%U4E2D", "%41", "%e9", "%ZZ", "%u00e9", "%uD83D",
        "%uDE00", "%4", "中", "文",     "晴天",   "’",   "\"",  "\\'", "\\"};
    for (const char* escaped : {"n",     "r",   "t",   "b",   "f",   "v",   "0",   "1",  "7",
                                "8",     "9",   "\\",  "/",   "\"",  "q",   "%",   "a",  "u4e2d",
                                "u00E9", "x41", "xfF", "x00", "101", "377", "400", "12", "中"})
        list.push_back(Text("\\") + escaped);
    for (Text& piece : list)
        piece = utf8ToGbk(piece);
    return list;
}

std::vector<Text> generatedTexts(int count) {
    const std::vector<Text> parts = pieces();
    std::mt19937 random(20261211);
    std::vector<Text> texts;
    for (int i = 0; i < count; ++i) {
        Text text;
        const int n = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < n; ++k)
            text += parts[random() % parts.size()];
        texts.push_back(text);
    }
    return texts;
}

std::string unitsHex(const Bytes& utf16) {
    std::string hex;
    char digits[5];
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const unsigned unit = utf16[i] | (utf16[i + 1] << 8);
        if (unit == 0) break;
        std::snprintf(digits, sizeof digits, "%04x", unit);
        hex += digits;
    }
    return hex;
}

// The engine's value narrowed to GBK up to its first NUL, or nothing where it failed.
std::optional<Text> engineValue(const std::string& line) {
    if (line == "FAIL") return std::nullopt;
    Bytes utf16;
    for (std::size_t i = 0; i + 4 <= line.size(); i += 4) {
        const unsigned unit = std::stoul(line.substr(i, 4), nullptr, 16);
        if (unit == 0) break;
        utf16.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return utf16.empty() ? Text() : utf16ToGbk(utf16);
}

TEST(ScriptLiteralDifferential, matchesNodeForThousandsOfGeneratedTexts) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quorvel-literal-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto script = dir / "eval.js", input = dir / "in.txt", output = dir / "out.txt";
    std::ofstream(script) << nodeScript;
    const std::vector<Text> texts = generatedTexts(4000);
    {
        std::ofstream in(input, std::ios::binary);
        for (const Text& text : texts)
            in << unitsHex(textToUtf16(text, codePageGbk)) << '\n';
    }
    const std::string command = std::string(QUORVEL_NODE) + " " + script.string() + " " +
                                input.string() + " " + output.string();
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::ifstream out(output);
    std::string line;
    int failures = 0;
    for (const Text& text : texts) {
        ASSERT_TRUE(std::getline(out, line));
        const std::optional<Text> expected = engineValue(line);
        failures += !expected;
        EXPECT_EQ(unescapeScriptLiteral(text), expected.value_or(Text())) << gbkToUtf8(text);
    }
    EXPECT_GT(failures, 0); // the texts do reach the failing literals
    EXPECT_LT(failures, static_cast<int>(texts.size()) / 2);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quorvel
