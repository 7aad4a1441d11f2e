#include "text/TextBetween.h"

#include "text/GbkLiteral.h"

namespace quorvel {

namespace {

// "#引号" in a marker stands for a double quote.
Text withQuotes(const Text& marker) {
    return replace(marker, "#引号"_gbk, "\"");
}

} // namespace

Text textBetween(const Text& text, const Text& front, const Text& back, int start, bool noCase) {
    const Text frontMarker = withQuotes(front);
    const Text backMarker = withQuotes(back);
    int frontAt = find(text, frontMarker, start, noCase);
    if (frontAt == -1) return {};
    int valueAt = frontAt + length(frontMarker);
    int backAt = find(text, backMarker, valueAt, noCase);
    if (backAt == -1) return {};
    return mid(text, valueAt, backAt - valueAt);
}

} // namespace quorvel
