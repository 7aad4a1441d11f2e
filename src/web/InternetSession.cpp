#include "web/InternetSession.h"

#include <algorithm>
#include <cstring>

#include "web/CurlTransfer.h"
#include "web/ProxyList.h"

namespace quorvel {

enum class InternetObjectKind { Session, Connection, Request };

struct InternetObject {
    InternetObject(InternetObjectKind k, const InternetObject* p) : kind(k), parent(p) {}

    InternetObjectKind kind;
    const InternetObject* parent;
    Text agent;              // session
    Text proxyList;          // session; empty: direct
    Text server;             // connection
    int port = 0;            // connection
    Text verb;               // request
    Text object;             // request
    Text version;            // request
    std::uint32_t flags = 0; // request
    TransferResponse response;
    std::size_t readOffset = 0;
};

namespace {

thread_local InternetCallRecord callRecord;

bool isKind(InternetHandle handle, InternetObjectKind kind) {
    return handle && handle->kind == kind;
}

std::vector<Text> headerLines(const Text& headers) {
    std::vector<Text> lines = split(headers, "\r\n");
    lines.erase(std::remove(lines.begin(), lines.end(), Text()), lines.end());
    return lines;
}

TransferRequest transferFor(const InternetObject& request, const Text& headers,
                            const Bytes* optional) {
    const InternetObject& connection = *request.parent;
    const InternetObject& session = *connection.parent;
    const bool secure = request.flags & internetFlagSecure;
    TransferRequest transfer;
    transfer.verb = request.verb;
    transfer.url = concat(Text(secure ? "https://" : "http://"), connection.server, Text(":"),
                          toText(connection.port), request.object);
    transfer.http10 = request.version == "HTTP/1.0";
    transfer.headerLines = headerLines(headers);
    if (optional) transfer.body = *optional;
    transfer.userAgent = session.agent;
    transfer.proxy = proxyForScheme(session.proxyList, secure);
    transfer.followRedirects = !(request.flags & internetFlagNoAutoRedirect);
    if (secure && !(request.flags & internetFlagIgnoreRedirectToHttp))
        transfer.redirectToHttp = false;
    transfer.sharedCookies = !(request.flags & internetFlagNoCookies);
    return transfer;
}

} // namespace

InternetHandle internetOpen(const Text& agent, std::uint32_t accessType, const Text& proxy,
                            const Text& bypass, std::uint32_t flags) {
    (void)bypass;
    (void)flags;
    callRecord = InternetCallRecord{};
    callRecord.agent = agent;
    callRecord.accessType = accessType;
    callRecord.proxy = proxy;
    const bool viaProxy = accessType == internetOpenTypeProxy;
    if (viaProxy && proxy.empty()) return nullptr;
    auto* session = new InternetObject(InternetObjectKind::Session, nullptr);
    session->agent = agent;
    if (viaProxy) session->proxyList = proxy;
    return session;
}

InternetHandle internetConnect(InternetHandle internet, const Text& server, int port,
                               const Text& user, const Text& password, std::uint32_t service,
                               std::uint32_t flags, std::uintptr_t context) {
    (void)user;
    (void)password;
    (void)flags;
    (void)context;
    callRecord.server = server;
    callRecord.port = port;
    if (!isKind(internet, InternetObjectKind::Session) || service != internetServiceHttp ||
        server.empty())
        return nullptr;
    auto* connection = new InternetObject(InternetObjectKind::Connection, internet);
    connection->server = server;
    connection->port = port;
    return connection;
}

InternetHandle httpOpenRequest(InternetHandle connection, const Text& verb, const Text& object,
                               const Text& version, const char* referrer,
                               const char* const* acceptTypes, std::uint32_t flags,
                               std::uintptr_t context) {
    (void)referrer;
    (void)acceptTypes;
    (void)context;
    callRecord.verb = verb;
    callRecord.object = object;
    callRecord.version = version;
    callRecord.requestFlags = flags;
    if (!isKind(connection, InternetObjectKind::Connection)) return nullptr;
    auto* request = new InternetObject(InternetObjectKind::Request, connection);
    request->verb = verb.empty() ? Text("GET") : verb;
    request->object = object.empty() ? Text("/") : object;
    request->version = version;
    request->flags = flags;
    return request;
}

bool httpSendRequest(InternetHandle request, const Text& headers, const Bytes* optional) {
    if (!isKind(request, InternetObjectKind::Request)) return false;
    request->response = performTransfer(transferFor(*request, headers, optional));
    request->readOffset = 0;
    return request->response.completed;
}

bool internetReadFile(InternetHandle request, void* buffer, std::uint32_t toRead,
                      std::uint32_t& bytesRead) {
    bytesRead = 0;
    if (!isKind(request, InternetObjectKind::Request)) return false;
    const Bytes& body = request->response.body;
    const std::size_t n = std::min<std::size_t>(toRead, body.size() - request->readOffset);
    if (n > 0) std::memcpy(buffer, body.data() + request->readOffset, n);
    request->readOffset += n;
    bytesRead = static_cast<std::uint32_t>(n);
    return true;
}

bool httpQueryInfo(InternetHandle request, std::uint32_t infoLevel, char* buffer,
                   std::uint32_t& length) {
    if (!isKind(request, InternetObjectKind::Request) || infoLevel != httpQueryRawHeadersCrlf)
        return false;
    const Text& block = request->response.headerBlock;
    if (block.empty()) return false;
    if (block.size() + 1 > length) {
        length = static_cast<std::uint32_t>(block.size() + 1);
        return false;
    }
    std::memcpy(buffer, block.c_str(), block.size() + 1);
    length = static_cast<std::uint32_t>(block.size());
    return true;
}

bool internetCloseHandle(InternetHandle handle) {
    if (!handle) return false;
    delete handle;
    return true;
}

const InternetCallRecord& lastInternetCalls() {
    return callRecord;
}

} // namespace quorvel
