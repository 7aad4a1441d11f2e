// Address splitting and cookie text on arbitrary bytes: no crash, no read past the end, and
// the shapes the fetchers rely on.
#include <cstdint>
#include <cstdlib>

#include "web/CookieText.h"
#include "web/ProxyList.h"
#include "web/UrlParts.h"

namespace {

// Texts hold no NUL; the input is cut into three texts at the first two 0x01 bytes.
std::vector<quorvel::Text> pieces(const std::uint8_t* data, std::size_t size) {
    quorvel::Text all(reinterpret_cast<const char*>(data), size);
    for (char& c : all)
        if (c == '\0') c = ' ';
    std::vector<quorvel::Text> parts(3);
    std::size_t part = 0;
    for (char c : all) {
        if (c == '\x01' && part < 2)
            ++part;
        else
            parts[part] += c;
    }
    return parts;
}

void require(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    std::vector<Text> parts = pieces(data, size);
    const Text& url = parts[0];

    require(find(normaliseUrl(url), "http") != -1);
    isHttpsUrl(url);
    const Text host = urlHost(url, false);
    require(lower(host) == host && find(host, ":") == -1);
    urlHost(url, true);
    urlPort(url);
    const Text path = urlPath(url);
    require(left(path, 1) == "/");
    proxyForScheme(url, true);

    const Text received = extractSetCookies(parts[1]);
    Text jar = parts[2];
    Text receivedCopy = received;
    const Text merged = mergeCookies(jar, receivedCopy);
    require(merged == jar && find(receivedCopy, " ") == -1);
    joinUnique(parts[2], "; ");
    cookieName(parts[2]);
    return 0;
}
