#pragma once
// The type of an unquoted JSON literal, as the node table records it.
#include <string_view>

#include "json/JsonDocument.h"

namespace quorvel {

// Number when toText(toNumber(s)) gives s back byte for byte; Boolean for TRUE or FALSE and Null
// for NULL in any letter case, or for the empty text; Other for everything else.
JsonType literalType(std::string_view s);

} // namespace quorvel
