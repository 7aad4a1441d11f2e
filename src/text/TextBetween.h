#pragma once
#include "text/Text.h"

namespace quorvel {

// The text strictly between the first front marker at or after start (below 1: 1) and the first
// back marker after it, or "" when either is missing. "#引号" in a marker stands for a double
// quote.
Text textBetween(const Text& text, const Text& front, const Text& back, int start = 0,
                 bool noCase = false);

} // namespace quorvel
