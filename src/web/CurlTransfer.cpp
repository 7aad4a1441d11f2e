#include "web/CurlTransfer.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "app/toolkit/Toolkit.h"
#include "web/CurlLibrary.h"

namespace quorvel {

namespace {

std::atomic<long> defaultConnectMs{TransferTimeouts{}.connectMs};
std::atomic<long> defaultIdleMs{TransferTimeouts{}.idleMs};

template <class Value> void setOption(CURL* curl, CURLoption option, Value value) {
    curlApi().easy_setopt(curl, option, value);
}

std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    shareLocks[data].lock();
}
void unlockShare(CURL*, curl_lock_data data, void*) {
    shareLocks[data].unlock();
}

// The process-wide cookie store; lives as long as the process.
CURLSH* cookieStore() {
    static CURLSH* const share = [] {
        CURLSH* s = curlApi().share_init();
        curlApi().share_setopt(s, CURLSHOPT_LOCKFUNC, lockShare);
        curlApi().share_setopt(s, CURLSHOPT_UNLOCKFUNC, unlockShare);
        curlApi().share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        return s;
    }();
    return share;
}

// What the callbacks write into.
struct Receiver {
    CURL* curl;
    TransferResponse& response;
};

std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
    TransferResponse* response = &static_cast<Receiver*>(user)->response;
    const std::size_t n = size * count;
    // A status line starts another response (a redirect's or an interim one): keep the last only.
    if (n >= 5 && Text(data, 5) == "HTTP/") {
        response->headerBlock.clear();
        response->body.clear();
    }
    response->headerBlock.append(data, n);
    return n;
}

// Room for the announced length up front, within the limit.
void reserveAnnouncedLength(CURL* curl, Bytes& body) {
    curl_off_t announced = -1;
    curlApi().easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced > 0 && static_cast<std::size_t>(announced) <= maxResponseBytes)
        body.reserve(static_cast<std::size_t>(announced));
}

std::size_t onBodyPiece(char* data, std::size_t size, std::size_t count, void* user) {
    auto* receiver = static_cast<Receiver*>(user);
    Bytes& body = receiver->response.body;
    const std::size_t n = size * count;
    if (body.size() + n > maxResponseBytes) return 0; // ends the transfer as failed
    if (body.empty()) reserveAnnouncedLength(receiver->curl, body);
    body.insert(body.end(), data, data + n);
    return n;
}

int onProgress(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return currentThreadCancelled() ? 1 : 0;
}

bool namesHeader(const std::vector<Text>& lines, const Text& name) {
    for (const Text& line : lines)
        if (find(line, name + ":", 1, true) == 1) return true;
    return false;
}

using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// libcurl drops a "Name:" line with nothing after the colon, but sends "Name;" as "Name:".
Text asSentByCurl(const Text& line) {
    const std::size_t colon = line.find(':');
    if (colon == Text::npos || !trim(line.substr(colon + 1)).empty()) return line;
    return line.substr(0, colon) + ";";
}

// The caller's lines, and a blank line for each header libcurl would otherwise add on its own.
HeaderList headerList(const std::vector<Text>& lines) {
    curl_slist* list = nullptr;
    for (const Text& line : lines)
        list = curlApi().slist_append(list, asSentByCurl(line).c_str());
    for (const char* name : {"Accept", "Expect", "Content-Type"})
        if (!namesHeader(lines, name))
            list = curlApi().slist_append(list, (Text(name) + ":").c_str());
    return HeaderList(list, curlApi().slist_free_all);
}

void setMethodAndBody(CURL* curl, const TransferRequest& request) {
    if (request.verb == "HEAD") {
        setOption(curl, CURLOPT_NOBODY, 1L);
    } else if (request.body) {
        setOption(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body->size()));
        // An empty body still needs a non-null pointer, or libcurl would read the body elsewhere.
        static const char noBytes[] = "";
        const void* bytes =
            request.body->empty() ? static_cast<const void*>(noBytes) : request.body->data();
        setOption(curl, CURLOPT_POSTFIELDS, bytes);
    }
    // A plain POST lets a 301, 302 or 303 turn into a GET, as browsers do.
    if (request.verb != "POST" || !request.body)
        setOption(curl, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
}

void setConnection(CURL* curl, const TransferRequest& request) {
    setOption(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    setOption(curl, CURLOPT_HTTP_VERSION,
              request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    setOption(curl, CURLOPT_PATH_AS_IS, 1L);
    setOption(curl, CURLOPT_NOSIGNAL, 1L);
    // An empty proxy also keeps libcurl from taking one from the environment.
    setOption(curl, CURLOPT_PROXY, request.proxy.c_str());
    setOption(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!request.proxyUser.empty()) {
        setOption(curl, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
        setOption(curl, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        setOption(curl, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    }
    if (!request.serverUser.empty()) {
        setOption(curl, CURLOPT_USERNAME, request.serverUser.c_str());
        setOption(curl, CURLOPT_PASSWORD, request.serverPassword.c_str());
        setOption(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
    setOption(curl, CURLOPT_SSL_VERIFYPEER, request.verifyPeer ? 1L : 0L);
    setOption(curl, CURLOPT_SSL_VERIFYHOST, request.verifyHost ? 2L : 0L);
    setOption(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    setOption(curl, CURLOPT_REDIR_PROTOCOLS_STR, request.redirectToHttp ? "http,https" : "https");
    setOption(curl, CURLOPT_MAXREDIRS, maxRedirects);
    if (request.sharedCookies) {
        setOption(curl, CURLOPT_SHARE, cookieStore());
        setOption(curl, CURLOPT_COOKIEFILE, "");
    }
}

void setTimeouts(CURL* curl, const TransferTimeouts& timeouts) {
    setOption(curl, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    if (timeouts.idleMs <= 0) return;
    // Idle time is counted in whole seconds: less than a byte a second for that long stops it.
    setOption(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    setOption(curl, CURLOPT_LOW_SPEED_TIME, (timeouts.idleMs + 999) / 1000);
}

void setCallbacks(CURL* curl, Receiver& receiver) {
    setOption(curl, CURLOPT_HEADERFUNCTION, onHeaderLine);
    setOption(curl, CURLOPT_HEADERDATA, &receiver);
    setOption(curl, CURLOPT_WRITEFUNCTION, onBodyPiece);
    setOption(curl, CURLOPT_WRITEDATA, &receiver);
    setOption(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    setOption(curl, CURLOPT_NOPROGRESS, 0L);
}

} // namespace

TransferTimeouts defaultTransferTimeouts() {
    return {defaultConnectMs, defaultIdleMs};
}

void setDefaultTransferTimeouts(TransferTimeouts timeouts) {
    defaultConnectMs = timeouts.connectMs;
    defaultIdleMs = timeouts.idleMs;
}

TransferResponse performTransfer(const TransferRequest& request) {
    TransferResponse response;
    if (!curlLibrary()) return response;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curlApi().easy_init(),
                                                             curlApi().easy_cleanup);
    if (!curl) return response;
    HeaderList headers = headerList(request.headerLines);
    setOption(curl.get(), CURLOPT_URL, request.url.c_str());
    setOption(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    if (!request.userAgent.empty())
        setOption(curl.get(), CURLOPT_USERAGENT, request.userAgent.c_str());
    setMethodAndBody(curl.get(), request);
    setConnection(curl.get(), request);
    setTimeouts(curl.get(), request.timeouts);
    Receiver receiver{curl.get(), response};
    setCallbacks(curl.get(), receiver);
    response.completed = curlApi().easy_perform(curl.get()) == CURLE_OK;
    long status = 0;
    curlApi().easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    if (!response.completed) response.body.clear();
    return response;
}

} // namespace quorvel
