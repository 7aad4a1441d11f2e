#include "json/JsonLiteral.h"

#include <string_view>

namespace quorvel {

namespace {

enum class Verdict { No, Yes, Unsure };

bool equalsNoCase(std::string_view s, std::string_view upperWord) {
    if (s.size() != upperWord.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c != upperWord[i]) return false;
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether every byte of s can occur in a number written as "%.13g" writes it.
bool onlyNumberBytes(std::string_view s) {
    for (char c : s)
        if (!isDigit(c) && std::string_view("-+.einfa").find(c) == std::string_view::npos)
            return false;
    return true;
}

// Decides the plain forms -?(0|[1-9][0-9]*)(.[0-9]*[1-9])? without converting: "%.13g" gives such
// a text back exactly when it has at most 13 significant digits and its decimal exponent lies in
// -4..12, where the fixed notation is chosen. Any other text is left to the conversion.
Verdict plainDecimalVerdict(std::string_view s) {
    const char* p = s.data();
    const char* end = p + s.size();
    if (p < end && *p == '-') ++p;
    const char* intStart = p;
    while (p < end && isDigit(*p))
        ++p;
    const auto intDigits = p - intStart;
    if (intDigits == 0 || (intDigits > 1 && *intStart == '0')) return Verdict::Unsure;
    if (p == end) return *intStart == '0' || intDigits <= 13 ? Verdict::Yes : Verdict::No;
    if (*p != '.') return Verdict::Unsure;
    const char* fracStart = ++p;
    while (p < end && isDigit(*p))
        ++p;
    if (p != end || p == fracStart || p[-1] == '0') return Verdict::Unsure;
    const auto fracDigits = p - fracStart;
    if (*intStart != '0') return intDigits + fracDigits <= 13 ? Verdict::Yes : Verdict::No;
    const char* firstSignificant = fracStart;
    while (*firstSignificant == '0')
        ++firstSignificant;
    const auto leadingZeros = firstSignificant - fracStart;
    return leadingZeros <= 3 && fracDigits - leadingZeros <= 13 ? Verdict::Yes : Verdict::No;
}

bool isNumberText(std::string_view s) {
    switch (plainDecimalVerdict(s)) {
    case Verdict::Yes:
        return true;
    case Verdict::No:
        return false;
    case Verdict::Unsure:
        break;
    }
    if (!onlyNumberBytes(s)) return false;
    const Text text(s);
    return toText(toNumber(text)) == text;
}

} // namespace

JsonType literalType(std::string_view s) {
    if (isNumberText(s)) return Number;
    if (equalsNoCase(s, "TRUE") || equalsNoCase(s, "FALSE")) return Boolean;
    if (s.empty() || equalsNoCase(s, "NULL")) return Null;
    return Other;
}

} // namespace quorvel
