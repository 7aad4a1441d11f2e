#pragma once
// An HTTP request object with the automation members the COM fetcher calls, over libcurl.
// Objects are created by programmatic identifier; a member that fails leaves an empty result
// and the caller goes on. Nothing is sent that the caller did not set, apart from Host and
// Content-Length.
#include <memory>
#include <vector>

#include "text/Text.h"
#include "web/CurlTransfer.h"

namespace quorvel {

// Values of SetProxy, SetProxyCredentials and Option.
constexpr int proxySettingProxy = 2;
constexpr int credentialsForServer = 0;
constexpr int optionSslErrorIgnoreFlags = 4;
constexpr int optionEnableRedirects = 6;
constexpr long sslIgnoreUnknownCa = 0x0100;
constexpr long sslIgnoreWrongUsage = 0x0200;
constexpr long sslIgnoreCertNameInvalid = 0x1000;
constexpr long sslIgnoreCertDateInvalid = 0x2000;

// Members are virtual so that a caller may hand in an object of its own kind.
class HttpRequestObject {
  public:
    virtual ~HttpRequestObject() = default;

    // Milliseconds; 0 waits without limit. Resolving counts as part of connecting.
    virtual void SetTimeouts(long resolveMs, long connectMs, long sendMs, long receiveMs);
    // Setting proxySettingProxy uses the proxy list given; any other setting goes direct.
    virtual void SetProxy(int setting, const Text& proxy);
    // Credentials for the proxy, or for the server when flag is credentialsForServer.
    virtual void SetProxyCredentials(const Text& user, const Text& password, int flag);
    // Starts a new request to an http or https address; false for any other address.
    // Requests are always synchronous.
    virtual bool Open(const Text& method, const Text& url, bool async);
    // optionEnableRedirects (0 switches them off) and optionSslErrorIgnoreFlags; others ignored.
    virtual void Option(int index, long value);
    // Adds a header line, after those set before; false before Open and for an empty name.
    virtual bool SetRequestHeader(const Text& name, const Text& value);
    // Sends the bytes (a text is sent as its bytes) and waits for the whole response. An empty
    // body is left out for GET and HEAD. False when nothing complete came back.
    virtual bool Send(const Bytes& body);
    // The body of the last response; empty when none.
    virtual Bytes ResponseBody() const;
    // The header lines of the last response, each ended by CR LF, without its status line.
    virtual Text GetallResponseHeaders() const;
    // The status code of the last response; 0 when none.
    virtual int Status() const;

  private:
    TransferTimeouts timeouts_ = defaultTransferTimeouts();
    Text proxy_;
    Text proxyUser_;
    Text proxyPassword_;
    Text serverUser_;
    Text serverPassword_;
    bool opened_ = false;
    Text method_;
    Text url_;
    std::vector<Text> headerLines_;
    bool followRedirects_ = true;
    long sslIgnoreFlags_ = 0;
    TransferResponse response_;
};

// A new object for "WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0" or
// "MSXML2.ServerXMLHTTP.5.0" (any case); null for other identifiers and for one made to fail.
std::shared_ptr<HttpRequestObject> createHttpRequestObject(const Text& progId);
// Lets tests make an identifier fail to create (or work again).
void setHttpRequestObjectFails(const Text& progId, bool fails);

} // namespace quorvel
