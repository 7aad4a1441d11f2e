#include "text/EscapeDecoding.h"

#include <chrono>
#include <optional>
#include <string>

#include "app/toolkit/Toolkit.h"
#include "text/CodePage.h"

namespace quorvel {

namespace {

const Text rightQuote = "\xA1\xAF"; // "’" in GBK
const Text lineBreakMark = "{$}";

// One UTF-16 code unit as GBK text; code 0 gives "" so no NUL enters a text.
Text unitText(std::int64_t code) {
    const auto unit = static_cast<std::uint16_t>(code & 0xFFFF);
    if (unit == 0) return {};
    return utf16ToGbk(
        Bytes{static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
}

using Units = std::u16string;

// GBK text as UTF-16 code units.
Units widen(const Text& t) {
    const Bytes b = textToUtf16(t, codePageGbk);
    Units units;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2)
        units += static_cast<char16_t>(b[i] | (b[i + 1] << 8));
    if (!units.empty() && units.back() == 0) units.pop_back();
    return units;
}

// UTF-16 code units up to the first zero unit as GBK text.
Text narrow(const Units& units) {
    Bytes b;
    for (char16_t u : units) {
        if (u == 0) break;
        b.push_back(static_cast<std::uint8_t>(u & 0xFF));
        b.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return b.empty() ? Text() : utf16ToGbk(b);
}

bool isLineTerminator(char16_t c) {
    return c == 0x0A || c == 0x0D || c == 0x2028 || c == 0x2029;
}

int hexDigit(char16_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of count hexadecimal digits at s[at], or -1.
int hexAt(const Units& s, std::size_t at, std::size_t count) {
    if (at + count > s.size()) return -1;
    int value = 0;
    for (std::size_t k = at; k < at + count; ++k) {
        const int d = hexDigit(s[k]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

bool isOctalDigit(char16_t c) {
    return c >= '0' && c <= '7';
}

// A legacy octal escape whose first digit is at s[i - 1]: up to three digits, at most 0377.
char16_t readOctal(const Units& s, std::size_t& i) {
    int value = s[i - 1] - '0';
    for (int taken = 1; taken < 3 && i < s.size() && isOctalDigit(s[i]); ++taken) {
        const int next = value * 8 + (s[i] - '0');
        if (next > 0377) break;
        value = next;
        ++i;
    }
    return static_cast<char16_t>(value);
}

// The character that the escape letter at s[i - 1] stands for; i moves past its digits.
std::optional<char16_t> readEscape(const Units& s, std::size_t& i) {
    const char16_t letter = s[i - 1];
    switch (letter) {
    case 'b':
        return u'\b';
    case 't':
        return u'\t';
    case 'n':
        return u'\n';
    case 'v':
        return u'\v';
    case 'f':
        return u'\f';
    case 'r':
        return u'\r';
    case 'x':
    case 'u': {
        const std::size_t digits = letter == 'x' ? 2 : 4;
        const int value = hexAt(s, i, digits);
        if (value < 0) return std::nullopt;
        i += digits;
        return static_cast<char16_t>(value);
    }
    default:
        if (isLineTerminator(letter)) return std::nullopt;
        if (isOctalDigit(letter)) return readOctal(s, i);
        return letter;
    }
}

// The value of a single-quoted literal's body, or nothing when the script would not compile.
std::optional<Units> literalValue(const Units& s) {
    Units value;
    for (std::size_t i = 0; i < s.size();) {
        const char16_t c = s[i++];
        // A line break, or a quote that would end the literal early, and the script fails.
        if (isLineTerminator(c) || c == '\'') return std::nullopt;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (i == s.size()) return std::nullopt; // it would escape the closing quote
        ++i;
        const auto escaped = readEscape(s, i);
        if (!escaped) return std::nullopt;
        value += *escaped;
    }
    return value;
}

// The standard unescape: %uXXXX and %XX, every other "%" as it stands.
Units unescapeUnits(const Units& s) {
    Units out;
    for (std::size_t k = 0; k < s.size();) {
        if (s[k] == '%') {
            const int unit = k + 1 < s.size() && s[k + 1] == 'u' ? hexAt(s, k + 2, 4) : -1;
            if (unit >= 0) {
                out += static_cast<char16_t>(unit);
                k += 6;
                continue;
            }
            const int code = hexAt(s, k + 1, 2);
            if (code >= 0) {
                out += static_cast<char16_t>(code);
                k += 3;
                continue;
            }
        }
        out += s[k++];
    }
    return out;
}

// Lets pending window events run, at most once per millisecond: doing it at every byte made a
// 64 KiB answer spend most of its time in the event loop.
class EventPump {
  public:
    void poll() {
        if (++calls_ % 32 != 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(1)) return;
        last_ = now;
        toolkit().processEvents();
    }

  private:
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point last_{};
};

} // namespace

Text decodeEscapes(const Text& t) {
    Text text = replace(t, "\r\n", lineBreakMark);
    if (!text.empty() && text[0] == '\r') text.erase(0, 1);
    text = replace(text, "\\u", "%u");
    text = replace(text, "'", rightQuote);
    Text decoded = unescapeScriptLiteral(text);
    const Text fallback = decodePercentU(text);
    if (decoded.empty()) decoded = fallback;
    return replace(replace(decoded, rightQuote, "'"), lineBreakMark, "\r\n");
}

Text unescapeScriptLiteral(const Text& t) {
    const auto value = literalValue(widen(t));
    return value ? narrow(unescapeUnits(*value)) : Text();
}

Text decodePercentU(const Text& t) {
    const int n = length(t);
    Text acc;
    Text lastDigits; // the digits of the last %u escape: they decide the tail
    bool sawEscape = false;
    EventPump pump;
    for (int i = 1; i <= n; ++i) {
        if (t[i - 1] == '%') {
            if (i + 1 <= n && t[i] == 'u' && i <= n - 5) {
                lastDigits = mid(t, i + 2, 4);
                sawEscape = true;
                acc += toInt(lastDigits) != 0 ? unitText(hexValue(lastDigits)) : Text("%");
            } else if (i <= n - 2) {
                acc += unitText(hexValue(mid(t, i + 1, 2)));
            } else {
                acc += '%';
            }
        }
        pump.poll();
    }
    const Text tail = sawEscape ? textAfterLast(t, lastDigits) : Text();
    return textBefore(t, "%u") + acc + tail;
}

Text textBefore(const Text& t, const Text& marker, int start, bool noCase) {
    const int at = find(t, marker, start < 1 ? 1 : start, noCase);
    return at < 0 ? Text() : left(t, at - 1);
}

Text textAfterLast(const Text& t, const Text& marker, int start, bool noCase) {
    const int at = findLast(t, marker, start < 1 ? length(t) : start, noCase);
    return at < 0 ? Text() : t.substr(static_cast<std::size_t>(at - 1 + length(marker)));
}

std::int64_t hexValue(const Text& t) {
    static const Text digits = "0123456789ABCDEF";
    std::int64_t value = 0;
    for (char c : upper(t)) {
        const auto at = digits.find(c);
        const std::int64_t position = at == Text::npos ? -1 : static_cast<std::int64_t>(at) + 1;
        value = value * 16 + (position - 1);
    }
    return value;
}

} // namespace quorvel
