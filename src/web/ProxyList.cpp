#include "web/ProxyList.h"

namespace quorvel {

Text proxyForScheme(const Text& proxyList, bool https) {
    const Text ownPrefix = https ? "https=" : "http=";
    Text anyScheme;
    for (const Text& entry : split(replace(proxyList, ";", " "), " ")) {
        if (lower(left(entry, length(ownPrefix))) == ownPrefix)
            return entry.substr(ownPrefix.size());
        if (anyScheme.empty() && find(entry, "=") == -1) anyScheme = entry;
    }
    return anyScheme;
}

} // namespace quorvel
