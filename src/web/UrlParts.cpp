#include "web/UrlParts.h"

#include "text/TextBetween.h"

namespace quorvel {

Text normaliseUrl(const Text& url) {
    if (find(url, "http://") == -1 && find(url, "https://") == -1) return "http://" + url;
    return url;
}

bool isHttpsUrl(const Text& url) {
    return lower(left(url, 8)) == "https://";
}

bool isWebAddress(const Text& url) {
    return isHttpsUrl(url) || lower(left(url, 7)) == "http://";
}

Text urlHost(const Text& url, bool keepPort) {
    Text address = lower(url);
    if (right(address, 1) != "/") address += "/";
    Text marker = "https://";
    if (left(address, 8) != marker) {
        marker = "http://";
        if (find(address, marker) == -1) address = marker + address;
    }
    Text host = textBetween(address, marker, "/");
    int colon = find(host, ":");
    if (!keepPort && colon != -1) host = left(host, colon - 1);
    return host;
}

int urlPort(const Text& url) {
    Text host = urlHost(url, true);
    int colon = findLast(host, ":");
    if (colon == -1) return lower(left(url, 5)) == "https" ? 443 : 80;
    return toInt(host.substr(colon));
}

Text urlPath(const Text& url) {
    int hostAt = find(url, urlHost(url, false), 1, true);
    int slash = find(url, "/", hostAt == -1 ? 1 : hostAt, true);
    return slash == -1 ? Text("/") : url.substr(slash - 1);
}

} // namespace quorvel
