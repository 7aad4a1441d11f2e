#pragma once
// Decoding of \u escapes in service answers into GBK text.
#include "text/Text.h"

namespace quorvel {

// The answer with its \u escapes and string-literal escapes decoded, as GBK text.
Text decodeEscapes(const Text& t);
// The value of t read as the contents of a single-quoted script (ECMAScript 3) string literal,
// passed through the standard unescape and narrowed to GBK up to its first NUL; "" when t is not
// a valid literal body (a line break, a bad \x or \u escape, a backslash at the very end).
Text unescapeScriptLiteral(const Text& t);
// The fallback decoder of %u and %XX escapes; lets pending window events run while it works.
Text decodePercentU(const Text& t);
// The text before the first match of marker at or after start, or "".
Text textBefore(const Text& t, const Text& marker, int start = 0, bool noCase = false);
// The text after the last match of marker that findLast(t, marker, start) finds, or ""; start
// below 1 means the length of t.
Text textAfterLast(const Text& t, const Text& marker, int start = 0, bool noCase = false);
// The value of hexadecimal digits.
std::int64_t hexValue(const Text& t);

} // namespace quorvel
