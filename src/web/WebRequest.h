#pragma once
// The option record of a web fetch, the method table, the default header lines, the agent text
// and the gzip decision that both fetchers share.
#include <cstdint>
#include <memory>
#include <optional>

#include "text/GzipCodec.h"
#include "text/Text.h"

namespace quorvel {

class HttpRequestObject;

// Filled by the caller and passed by reference; a fetch writes some fields back.
struct WebRequest {
    Text url;                    // in, out: fetchWinInet writes the normalised form back
    int method = 0;              // index into methodNames; 0 is GET
    Text body;                   // request body as text
    std::optional<Text> cookies; // absent, or the jar "name=value; ..." (present-but-empty differs)
    Text receivedCookies;        // out
    Text headers;                // in, out: CR LF separated lines, completed by the fetch
    Text responseHeaders;        // out: raw header block
    int status = 0;              // out, fetchCom only
    bool noRedirect = false;
    Bytes bodyBytes;             // request body as bytes; wins over body when non-empty
    Text proxy;                  // host:port, empty for a direct connection
    int timeoutSeconds = 0;      // fetchCom only: -1 keeps the object's own, 0 or less is 15 s
    Text proxyUser;              // fetchCom only
    Text proxyPassword;          // fetchCom only
    int proxyCredentialFlag = 1; // fetchCom only
    std::shared_ptr<HttpRequestObject> requestObject; // fetchCom only: reuse this object
};

// The method name for an index; outside 0 to 7 gives "GET".
Text methodName(int method);
// "Mozilla/5.0 (Windows NT 10.0; WOW64) ..." used by both fetchers.
const Text& defaultUserAgent();

// Adds Accept, Accept-Language, Content-Type and Cookie lines where missing (fetchWinInet).
void completeWinInetHeaders(Text& headers, const std::optional<Text>& cookies);
// Adds Accept, Referer, Accept-Language, User-Agent and Content-Type lines where missing
// (fetchCom).
void completeComHeaders(Text& headers, const Text& url);
// The agent text fetchWinInet opens its session with.
Text pickAgentString(const Text& headers);
// The trimmed text before the first ":" of a header line ("" without a colon).
Text headerName(const Text& line);
// The trimmed text after the first ":" of a header line ("" without a colon).
Text headerValue(const Text& line);
// Whether the completed header text asks for gzip.
bool wantsGzip(const Text& headers);
// The body a fetch returns: gzip-decoded when asked for and decodable, else the raw body.
Bytes finishBody(const Text& headers, const Bytes& rawBody);
// The same, handing the raw body on without a copy when it is returned unchanged.
Bytes finishBody(const Text& headers, Bytes&& rawBody);

// The process-wide codec the fetchers decode with (none: bodies stay raw).
void setSharedGzipCodec(const GzipCodec* codec);
const GzipCodec* sharedGzipCodec();

} // namespace quorvel
