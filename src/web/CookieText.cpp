#include "web/CookieText.h"

#include <algorithm>
#include <vector>

#include "text/TextBetween.h"

namespace quorvel {

namespace {

Text dropLastTwo(const Text& text) {
    return left(text, length(text) - 2);
}

// The name=value of one Set-Cookie line, attributes dropped.
Text setCookieItem(const Text& line) {
    if (find(line, ";") != -1) return trim(textBetween(line, "Set-Cookie:", ";"));
    return trim(replace(line, "Set-Cookie:", "", 1, -1, false));
}

bool holdsName(const std::vector<Text>& items, const Text& name) {
    return std::any_of(items.begin(), items.end(),
                       [&](const Text& item) { return cookieName(item) == name; });
}

} // namespace

Text extractSetCookies(const Text& responseHeaders) {
    Text result;
    for (const Text& line : split(responseHeaders, "\r\n"))
        if (find(line, "Set-Cookie") != -1) result += setCookieItem(line) + "; ";
    return dropLastTwo(result);
}

Text mergeCookies(Text& jar, Text& received) {
    jar = removeSpaces(jar);
    received = removeSpaces(received);
    std::vector<Text> items = split(received, ";");
    for (const Text& old : split(jar, ";"))
        if (!holdsName(items, cookieName(old))) items.push_back(old);
    Text merged;
    for (const Text& item : items)
        if (right(item, 8) != "=deleted") merged += item + "; ";
    jar = joinUnique(dropLastTwo(merged), "; ");
    return jar;
}

Text cookieName(const Text& item) {
    int equals = find(item, "=");
    return trim(equals == -1 ? item : left(item, equals - 1));
}

Text joinUnique(const Text& text, const Text& separator) {
    std::vector<Text> kept;
    for (const Text& item : split(text, separator))
        if (std::find(kept.begin(), kept.end(), item) == kept.end()) kept.push_back(item);
    Text joined;
    for (std::size_t i = 0; i < kept.size(); ++i)
        joined += (i == 0 ? "" : separator) + kept[i];
    return joined;
}

} // namespace quorvel
