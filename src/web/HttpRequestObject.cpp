#include "web/HttpRequestObject.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <set>

#include "web/ProxyList.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

const std::array<Text, 3> registeredProgIds = {
    "winhttp.winhttprequest.5.1", "msxml2.serverxmlhttp.6.0", "msxml2.serverxmlhttp.5.0"};

std::mutex failingMutex;
std::set<Text> failingProgIds;

bool isRegistered(const Text& progId) {
    return std::find(registeredProgIds.begin(), registeredProgIds.end(), lower(progId)) !=
           registeredProgIds.end();
}

bool isMadeToFail(const Text& progId) {
    std::lock_guard lock(failingMutex);
    return failingProgIds.count(lower(progId)) > 0;
}

} // namespace

void HttpRequestObject::SetTimeouts(long resolveMs, long connectMs, long sendMs, long receiveMs) {
    const bool unlimited = resolveMs == 0 || connectMs == 0;
    timeouts_.connectMs = unlimited ? 0 : resolveMs + connectMs;
    timeouts_.idleMs = (sendMs == 0 || receiveMs == 0) ? 0 : std::max(sendMs, receiveMs);
}

void HttpRequestObject::SetProxy(int setting, const Text& proxy) {
    proxy_ = setting == proxySettingProxy ? proxy : Text();
}

void HttpRequestObject::SetProxyCredentials(const Text& user, const Text& password, int flag) {
    (flag == credentialsForServer ? serverUser_ : proxyUser_) = user;
    (flag == credentialsForServer ? serverPassword_ : proxyPassword_) = password;
}

bool HttpRequestObject::Open(const Text& method, const Text& url, bool async) {
    (void)async;
    opened_ = isWebAddress(url) && !method.empty();
    method_ = method;
    url_ = url;
    headerLines_.clear();
    response_ = TransferResponse{};
    return opened_;
}

void HttpRequestObject::Option(int index, long value) {
    if (index == optionEnableRedirects) followRedirects_ = value != 0;
    if (index == optionSslErrorIgnoreFlags) sslIgnoreFlags_ = value;
}

bool HttpRequestObject::SetRequestHeader(const Text& name, const Text& value) {
    if (!opened_ || name.empty()) return false;
    headerLines_.push_back(name + ": " + value);
    return true;
}

bool HttpRequestObject::Send(const Bytes& body) {
    if (!opened_) return false;
    TransferRequest transfer;
    transfer.verb = method_;
    transfer.url = url_;
    transfer.headerLines = headerLines_;
    if (!body.empty() || (method_ != "GET" && method_ != "HEAD")) transfer.body = body;
    transfer.proxy = proxyForScheme(proxy_, isHttpsUrl(url_));
    transfer.proxyUser = proxyUser_;
    transfer.proxyPassword = proxyPassword_;
    transfer.serverUser = serverUser_;
    transfer.serverPassword = serverPassword_;
    transfer.followRedirects = followRedirects_;
    // As the platform's object does by default, https is never redirected to plain http.
    transfer.redirectToHttp = !isHttpsUrl(url_);
    transfer.verifyPeer =
        !(sslIgnoreFlags_ & (sslIgnoreUnknownCa | sslIgnoreWrongUsage | sslIgnoreCertDateInvalid));
    transfer.verifyHost = !(sslIgnoreFlags_ & sslIgnoreCertNameInvalid);
    transfer.timeouts = timeouts_;
    response_ = performTransfer(transfer);
    return response_.completed;
}

Bytes HttpRequestObject::ResponseBody() const {
    return response_.body;
}

Text HttpRequestObject::GetallResponseHeaders() const {
    const std::size_t statusLineEnd = response_.headerBlock.find("\r\n");
    if (statusLineEnd == Text::npos) return {};
    return response_.headerBlock.substr(statusLineEnd + 2);
}

int HttpRequestObject::Status() const {
    return response_.status;
}

std::shared_ptr<HttpRequestObject> createHttpRequestObject(const Text& progId) {
    if (!isRegistered(progId) || isMadeToFail(progId)) return nullptr;
    return std::make_shared<HttpRequestObject>();
}

void setHttpRequestObjectFails(const Text& progId, bool fails) {
    std::lock_guard lock(failingMutex);
    if (fails)
        failingProgIds.insert(lower(progId));
    else
        failingProgIds.erase(lower(progId));
}

} // namespace quorvel
