#pragma once
// The internet-session calls the WinInet fetcher makes, over libcurl: open a session, connect,
// open a request, send it, read the body in pieces until a read gives 0 bytes, query the raw
// header block, and close the handles in reverse order. Every open call gives a handle or null.
//
// Sessions carry the platform's rules: a proxy list whose "http=" entry serves only plain http,
// the request flags below (a secure request is not redirected to plain http unless
// internetFlagIgnoreRedirectToHttp allows it), one cookie store for the whole process (used by
// every request without the no-cookies flag), redirects followed unless switched off (the header
// block is then the final response's), and the default timeouts of defaultTransferTimeouts().
#include <cstdint>

#include "text/Text.h"

namespace quorvel {

constexpr std::uint32_t internetOpenTypeDirect = 1;
constexpr std::uint32_t internetOpenTypeProxy = 3;
constexpr std::uint32_t internetServiceHttp = 3;
constexpr std::uint32_t httpQueryRawHeadersCrlf = 22;

constexpr std::uint32_t internetFlagReload = 0x80000000;
constexpr std::uint32_t internetFlagNeedFile = 0x00000010;
constexpr std::uint32_t internetFlagNoCookies = 0x00080000;
constexpr std::uint32_t internetFlagNoAutoRedirect = 0x00200000;
constexpr std::uint32_t internetFlagSecure = 0x00800000;
constexpr std::uint32_t internetFlagIgnoreRedirectToHttps = 0x00004000;
constexpr std::uint32_t internetFlagIgnoreRedirectToHttp = 0x00008000;

struct InternetObject;
using InternetHandle = InternetObject*;

// A session handle; accessType internetOpenTypeProxy with an empty proxy list gives null.
InternetHandle internetOpen(const Text& agent, std::uint32_t accessType, const Text& proxy,
                            const Text& bypass, std::uint32_t flags);
// A connection handle to server:port under a session, or null.
InternetHandle internetConnect(InternetHandle internet, const Text& server, int port,
                               const Text& user, const Text& password, std::uint32_t service,
                               std::uint32_t flags, std::uintptr_t context);
// A request handle under a connection, or null. The secure flag selects https.
InternetHandle httpOpenRequest(InternetHandle connection, const Text& verb, const Text& object,
                               const Text& version, const char* referrer,
                               const char* const* acceptTypes, std::uint32_t flags,
                               std::uintptr_t context);
// Sends the request with the CR LF separated header text and, unless null, the optional data;
// returns when the response has arrived. False when it failed.
bool httpSendRequest(InternetHandle request, const Text& headers, const Bytes* optional);
// Copies up to toRead bytes of the response body; bytesRead 0 means the end.
bool internetReadFile(InternetHandle request, void* buffer, std::uint32_t toRead,
                      std::uint32_t& bytesRead);
// With httpQueryRawHeadersCrlf: the status line and header lines, each ended by CR LF, then
// the empty line, NUL-terminated in buffer. length is the buffer size in and the text length
// out; when the block does not fit, false with length set to the size needed.
bool httpQueryInfo(InternetHandle request, std::uint32_t infoLevel, char* buffer,
                   std::uint32_t& length);
// Frees a handle of any kind.
bool internetCloseHandle(InternetHandle handle);

// What the calling thread's last open calls received; tests read it.
struct InternetCallRecord {
    Text agent;
    std::uint32_t accessType = 0;
    Text proxy;
    Text server;
    int port = 0;
    Text verb;
    Text object;
    Text version;
    std::uint32_t requestFlags = 0;
};
const InternetCallRecord& lastInternetCalls();

} // namespace quorvel
