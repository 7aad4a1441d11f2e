#pragma once
// The type of an unquoted JSON literal, as the node table records it.
#include "json/JsonDocument.h"

namespace quorvel {

// Number when toText(toNumber(s)) gives s back byte for byte; Boolean for TRUE or FALSE and Null
// for NULL in any letter case, or for the empty text; Other for everything else.
JsonType literalType(const Text& s);

} // namespace quorvel
