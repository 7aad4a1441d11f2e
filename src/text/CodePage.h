#pragma once
// Conversions between UTF-8, UTF-16 and code page 936 (GBK, ICU's "windows-936" table).
// Characters GBK lacks become "?", invalid input becomes U+FFFD (so "?" in GBK), and Unicode's
// default-ignorable code points are dropped on the way to GBK.
#include "text/Text.h"

namespace quorvel {

constexpr int codePageUtf8 = 65001;
constexpr int codePageGbk = 936;
constexpr int codePageAnsi = 0; // the system's ANSI code page, which is GBK here

// UTF-8 bytes to GBK text, ending at the first NUL.
Text utf8BytesToText(const Bytes& b);
// Text in codePage to UTF-16LE units, with one terminating zero unit.
Bytes textToUtf16(const Text& t, int codePage = codePageUtf8);
// UTF-16LE units up to the first zero unit to text in codePage.
Text utf16ToText(const Bytes& u, int codePage = codePageAnsi);
// GBK text to UTF-8 bytes.
Text gbkToUtf8(const Text& t);
// UTF-8 bytes to GBK text.
Text utf8ToGbk(const Text& t);
// UTF-16LE units (half the byte length, rounded down) to GBK, composing where possible.
Text utf16ToGbk(const Bytes& u);

} // namespace quorvel
