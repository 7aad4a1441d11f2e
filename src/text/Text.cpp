#include "text/Text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <locale.h>

namespace quorvel {

namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x80;
}

// Byte length of the character starting at offset i (2 for a lead byte with a trail byte).
std::size_t charLength(const Text& t, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size() ? 2 : 1;
}

char foldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Whether s matches t at offset i; with noCase ASCII letters outside double-byte characters fold.
bool matchesAt(const Text& t, std::size_t i, const Text& s, bool noCase) {
    if (i + s.size() > t.size()) return false;
    if (!noCase) return t.compare(i, s.size(), s) == 0;
    for (std::size_t k = 0; k < s.size();) {
        if (isLeadByte(static_cast<unsigned char>(s[k])) && k + 1 < s.size()) {
            if (t[i + k] != s[k] || t[i + k + 1] != s[k + 1]) return false;
            k += 2;
        } else {
            if (foldAscii(t[i + k]) != foldAscii(s[k])) return false;
            ++k;
        }
    }
    return true;
}

// The first character start at or after offset at, given the character start known <= at.
// A byte below 0x80 is a character of its own or a trail byte, so a character starts right
// after it; from there on the bytes of 0x80 and up pair up. The look back stops at known, so a
// search moving known forward stays linear.
std::size_t characterStartFrom(const Text& t, std::size_t known, std::size_t at) {
    std::size_t pairsFrom = at;
    while (pairsFrom > known && isLeadByte(static_cast<unsigned char>(t[pairsFrom - 1])))
        --pairsFrom;
    return at + (at - pairsFrom) % 2;
}

// 0-based offset of the first match at or after offset from, stepping by characters.
std::size_t findFrom(const Text& t, const Text& s, std::size_t from, bool noCase) {
    if (noCase) {
        for (std::size_t i = from; i < t.size(); i += charLength(t, i))
            if (matchesAt(t, i, s, noCase)) return i;
        return Text::npos;
    }
    // Byte-wise candidates, each kept only when it starts a character; the walk over character
    // starts moves forward only, so the search stays linear in practice.
    std::size_t characterStart = from;
    for (std::size_t at = t.find(s, from); at != Text::npos; at = t.find(s, at + 1)) {
        characterStart = characterStartFrom(t, characterStart, at);
        if (characterStart == at) return at;
    }
    return Text::npos;
}

Text stripSpaces(const Text& t, bool inside) {
    Text out;
    std::size_t firstKept = Text::npos, endKept = 0;
    for (std::size_t i = 0; i < t.size();) {
        std::size_t n = charLength(t, i);
        bool space = t[i] == ' ' || (n == 2 && static_cast<unsigned char>(t[i]) == 0xA1 &&
                                     static_cast<unsigned char>(t[i + 1]) == 0xA1);
        if (!space) {
            if (inside) out.append(t, i, n);
            if (firstKept == Text::npos) firstKept = i;
            endKept = i + n;
        }
        i += n;
    }
    if (inside) return out;
    return firstKept == Text::npos ? Text() : t.substr(firstKept, endKept - firstKept);
}

Text changeCase(const Text& t, bool toUpper) {
    Text out = t;
    for (std::size_t i = 0; i < out.size(); i += charLength(out, i)) {
        char& c = out[i];
        if (toUpper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (!toUpper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

#if defined(_WIN32)
_locale_t cLocale() {
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}
#else
locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}
#endif

} // namespace

int length(const Text& t) {
    return static_cast<int>(t.size());
}

Text left(const Text& t, int n) {
    return n <= 0 ? Text() : t.substr(0, static_cast<std::size_t>(n));
}

Text right(const Text& t, int n) {
    if (n <= 0) return {};
    std::size_t k = std::min(t.size(), static_cast<std::size_t>(n));
    return t.substr(t.size() - k);
}

Text mid(const Text& t, int start, int n) {
    if (start < 1 || start > length(t) || n <= 0) return {};
    return t.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

int find(const Text& t, const Text& s, int start, bool noCase) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (from >= t.size()) return -1;
    if (s.empty()) return 1;
    std::size_t at = findFrom(t, s, from, noCase);
    return at == Text::npos ? -1 : static_cast<int>(at + 1);
}

int findLast(const Text& t, const Text& s, int start, bool noCase) {
    std::size_t window =
        start < 1 ? t.size() : std::min(t.size(), static_cast<std::size_t>(start - 1));
    if (s.empty() || s.size() > window) return -1;
    int last = -1;
    for (std::size_t i = 0; i + s.size() <= window; i += charLength(t, i))
        if (matchesAt(t, i, s, noCase)) last = static_cast<int>(i + 1);
    return last;
}

Text replace(const Text& t, const Text& s, const Text& r, int start, int count,
             bool caseSensitive) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (t.empty() || s.empty() || count == 0 || from >= t.size()) return t;
    Text out;
    out.reserve(t.size());
    std::size_t copied = 0;
    std::size_t at = findFrom(t, s, from, !caseSensitive);
    for (int done = 0; at != Text::npos && (count < 0 || done < count); ++done) {
        out.append(t, copied, at - copied);
        out += r;
        copied = at + s.size();
        at = findFrom(t, s, copied, !caseSensitive);
    }
    out.append(t, copied, Text::npos);
    return out;
}

std::vector<Text> split(const Text& t, const Text& delimiter, int max) {
    std::vector<Text> pieces;
    if (t.empty() || max == 0) return pieces;
    if (delimiter.empty()) return {t};
    std::size_t from = 0;
    while (max < 0 || static_cast<int>(pieces.size()) < max) {
        std::size_t at = findFrom(t, delimiter, from, false);
        if (at == Text::npos) {
            if (from < t.size()) pieces.push_back(t.substr(from));
            break;
        }
        pieces.push_back(t.substr(from, at - from));
        from = at + delimiter.size();
    }
    return pieces;
}

Text trim(const Text& t) {
    return stripSpaces(t, false);
}

Text removeSpaces(const Text& t) {
    return stripSpaces(t, true);
}

Text upper(const Text& t) {
    return changeCase(t, true);
}

Text lower(const Text& t) {
    return changeCase(t, false);
}

int toInt(const Text& t) {
    // atoi is (int)strtol: skip C-locale white space, an optional sign, then digits; the long
    // value saturates and is then narrowed.
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || (t[i] >= '\t' && t[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    bool saturated = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        int digit = t[i] - '0';
        if (!saturated && value > (limit - digit) / 10) saturated = true;
        if (!saturated) value = value * 10 + digit;
    }
    if (saturated)
        value = negative ? std::numeric_limits<std::int64_t>::min() : limit;
    else if (negative)
        value = -value;
    return static_cast<int>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
}

double toNumber(const Text& t) {
#if defined(_WIN32)
    return _strtod_l(t.c_str(), nullptr, cLocale());
#else
    return strtod_l(t.c_str(), nullptr, cLocale());
#endif
}

Text toText(std::int64_t n) {
    return std::to_string(n);
}

Text toText(double n) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::general, 13);
    return Text(buffer, result.ptr);
}

Text toText(const Bytes& b) {
    return textInBytes(b);
}

Text charText(int code) {
    return code == 0 ? Text() : Text(1, static_cast<char>(code));
}

Text hexText(std::int64_t n) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer,
                                static_cast<std::uint32_t>(n & 0xFFFFFFFF), 16);
    Text out(buffer, result.ptr);
    return upper(out);
}

Bytes toBytes(const Text& t) {
    return Bytes(t.begin(), t.end());
}

Bytes toBytes(std::int32_t n) {
    auto u = static_cast<std::uint32_t>(n);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

int bytesLength(const Bytes& b) {
    return static_cast<int>(b.size());
}

Bytes bytesLeft(const Bytes& b, int n) {
    if (n <= 0) return {};
    return Bytes(b.begin(), b.begin() + std::min<std::size_t>(b.size(), n));
}

Bytes bytesMid(const Bytes& b, int start, int n) {
    if (start < 1 || start > bytesLength(b) || n <= 0) return {};
    std::size_t from = static_cast<std::size_t>(start - 1);
    std::size_t to = std::min(b.size(), from + static_cast<std::size_t>(n));
    return Bytes(b.begin() + from, b.begin() + to);
}

Bytes replaceBytes(const Bytes& b, const Bytes& s, const Bytes& r, int start, int count) {
    std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (b.empty() || s.empty() || count == 0 || from >= b.size()) return b;
    Bytes out;
    out.reserve(b.size());
    auto copied = b.begin();
    auto at = std::search(b.begin() + from, b.end(), s.begin(), s.end());
    for (int done = 0; at != b.end() && (count < 0 || done < count); ++done) {
        out.insert(out.end(), copied, at);
        out.insert(out.end(), r.begin(), r.end());
        copied = at + s.size();
        at = std::search(copied, b.end(), s.begin(), s.end());
    }
    out.insert(out.end(), copied, b.end());
    return out;
}

Text blankText(int n) {
    return n < 1 ? Text() : Text(static_cast<std::size_t>(n), ' ');
}

Bytes blankBytes(int n) {
    return n < 1 ? Bytes() : Bytes(static_cast<std::size_t>(n), 0);
}

Text textInBytes(const Bytes& b) {
    if (b.empty()) return {};
    const auto* data = reinterpret_cast<const char*>(b.data());
    const auto* nul = static_cast<const char*>(std::memchr(data, 0, b.size()));
    return Text(data, nul ? static_cast<std::size_t>(nul - data) : b.size());
}

int compare(const Text& a, const Text& b, bool caseSensitive) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(caseSensitive ? a[i] : foldAscii(a[i]));
        auto y = static_cast<unsigned char>(caseSensitive ? b[i] : foldAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace quorvel
