#pragma once
#include "text/Text.h"

namespace quorvel {

// Percent escapes of the bytes of t (of its UTF-8 form when toUtf8); with keepUnreserved the
// bytes A-Z, a-z, 0-9, "-" and "." stay as they are.
Text urlEncode(const Text& t, bool keepUnreserved = false, bool toUtf8 = false);
// Percent escapes decoded (a "%" without two hex digits stays as it is); with fromUtf8 the
// result is converted from UTF-8 to GBK.
Text urlDecode(const Text& t, bool fromUtf8 = false);

} // namespace quorvel
