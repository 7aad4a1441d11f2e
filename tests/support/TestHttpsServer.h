#pragma once
// An HTTPS server on 127.0.0.1 with a self-signed certificate made for it, answering every
// request with the same body, except "/redirect", which is sent on to redirectTarget.
#include <filesystem>
#include <memory>
#include <thread>

#include "text/Text.h"

namespace httplib {
class SSLServer;
}

namespace quorvel::test {

class TestHttpsServer {
  public:
    explicit TestHttpsServer(const Text& body, const Text& redirectTarget = "");
    ~TestHttpsServer();
    TestHttpsServer(const TestHttpsServer&) = delete;
    TestHttpsServer& operator=(const TestHttpsServer&) = delete;

    int port() const { return port_; }
    // "https://127.0.0.1:<port>" followed by path.
    Text url(const Text& path = "/") const;

  private:
    std::filesystem::path directory_;
    std::unique_ptr<httplib::SSLServer> server_;
    int port_ = 0;
    std::thread thread_;
};

// A fresh temporary directory; the caller removes it.
std::filesystem::path makeTemporaryDirectory();

} // namespace quorvel::test
