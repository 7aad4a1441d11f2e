#pragma once
// Text and byte primitives.
//
// Text is a byte string in code page 936 (GBK) with no NUL inside. Lengths and positions count
// bytes, positions start at 1 and a failed search gives -1. A byte of 0x80 or more begins a
// double-byte character: searching, replacing, splitting and case changes step over both bytes,
// so a match never starts on a trail byte. Bytes is a counted buffer that may hold anything.

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

// Byte count of t.
int length(const Text& t);
// First min(n, length) bytes; n <= 0 gives "".
Text left(const Text& t, int n);
// Last min(n, length) bytes; n <= 0 gives "".
Text right(const Text& t, int n);
// n bytes from the 1-based start, cut at the end; start outside 1..length or n <= 0 gives "".
Text mid(const Text& t, int start, int n);

// First match of s at or after start (below 1: 1), or -1. An empty s gives 1 when the searched
// part is non-empty. noCase folds ASCII letters only.
int find(const Text& t, const Text& s, int start = 1, bool noCase = false);
// Last match lying wholly in the first start-1 bytes (start below 1: the whole text), or -1.
int findLast(const Text& t, const Text& s, int start = 0, bool noCase = false);
// Matches of s from start, left to right, replaced by r; at most count of them (negative: all).
// Empty t or s, count 0 or start past the end give t unchanged.
Text replace(const Text& t, const Text& s, const Text& r = {}, int start = 1, int count = -1,
             bool caseSensitive = true);
// Pieces between delimiters; adjacent delimiters give empty pieces; an empty last piece is
// dropped; "" gives none; an empty delimiter gives t itself; at most max pieces (negative: all).
std::vector<Text> split(const Text& t, const Text& delimiter = ",", int max = -1);

// t without spaces (0x20 and the full-width pair A1 A1) at both ends.
Text trim(const Text& t);
// t without any spaces (0x20 and the full-width pair A1 A1).
Text removeSpaces(const Text& t);
// ASCII letters to upper case; every other byte, trail bytes included, unchanged.
Text upper(const Text& t);
// ASCII letters to lower case; every other byte, trail bytes included, unchanged.
Text lower(const Text& t);

// Leading decimal integer as the standard atoi does, in every locale; 0 when there is none.
int toInt(const Text& t);
// Decimal value as the standard atof does, in every locale.
double toNumber(const Text& t);
// An integer in decimal.
Text toText(std::int64_t n);
inline Text toText(int n) {
    return toText(static_cast<std::int64_t>(n));
}
// A real number as "%.13g" writes it in the C locale.
Text toText(double n);
// The bytes before the first NUL.
Text toText(const Bytes& b);
// One-byte text; code 0 gives "".
Text charText(int code);
// Upper-case hexadecimal digits of n (as an unsigned 32-bit value), no leading zeros.
Text hexText(std::int64_t n);

// The bytes of t.
Bytes toBytes(const Text& t);
// n as four bytes, low byte first.
Bytes toBytes(std::int32_t n);
int bytesLength(const Bytes& b);
Bytes bytesLeft(const Bytes& b, int n);
Bytes bytesMid(const Bytes& b, int start, int n);
// Byte-exact replace, with the rules of replace.
Bytes replaceBytes(const Bytes& b, const Bytes& s, const Bytes& r, int start = 1, int count = -1);
// n spaces; n < 1 gives "".
Text blankText(int n);
// n zero bytes; n < 1 gives empty Bytes.
Bytes blankBytes(int n);
// The bytes before the first NUL, as Text.
Text textInBytes(const Bytes& b);

// Below, equal to or above 0 by unsigned byte order; caseSensitive false folds ASCII letters.
int compare(const Text& a, const Text& b, bool caseSensitive = true);
// Byte equality.
inline bool equal(const Text& a, const Text& b) {
    return a == b;
}
inline bool equal(const Bytes& a, const Bytes& b) {
    return a == b;
}

// The parts joined.
template <typename... Parts> Text concat(const Parts&... parts) {
    Text result;
    (result += ... += parts);
    return result;
}

} // namespace quorvel
