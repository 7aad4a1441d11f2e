#pragma once
// Cookies as plain text: name=value items joined by "; ", the form of a Cookie request header.
// Attributes, expiry dates, paths and domains are never parsed.
#include "text/Text.h"

namespace quorvel {

// The first name=value of every Set-Cookie line of a response header block, joined by "; ".
Text extractSetCookies(const Text& responseHeaders);
// Received items first, then old items whose names were not received; items ending in
// "=deleted" dropped, repeats removed, no spaces. Writes the result into jar and the received
// text back without spaces.
Text mergeCookies(Text& jar, Text& received);
// The trimmed text before the first "=", or the whole item trimmed.
Text cookieName(const Text& item);
// The items of text between separators, each exact item kept once (first wins).
Text joinUnique(const Text& text, const Text& separator);

} // namespace quorvel
