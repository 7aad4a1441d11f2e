#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests. It records every request exactly as it came
// (request line, header lines in their order and case, body) and answers as the test's handler
// says: any status and header lines, a body, a stall before answering, or a body that never ends.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "text/Text.h"

namespace quorvel::test {

struct RecordedRequest {
    Text requestLine;
    std::vector<Text> headerLines;
    Bytes body;

    // "GET" of "GET /a HTTP/1.1".
    Text method() const;
    // "/a" of "GET /a HTTP/1.1".
    Text target() const;
    // The value of the first header line with this name (any case), trimmed.
    std::optional<Text> header(const Text& name) const;
};

struct TestReply {
    int status = 200;
    Text reason = "OK";
    std::vector<Text> headerLines; // written as given, in order
    Bytes body;
    bool contentLength = true; // add a Content-Length line for body
    int stallMs = 0;           // wait this long before answering
    bool endless = false;      // after the head, send body bytes until the client goes away
};

// A reply with a text body.
TestReply textReply(const Text& body, std::vector<Text> headerLines = {}, int status = 200);

class TestHttpServer {
  public:
    using Handler = std::function<TestReply(const RecordedRequest&)>;

    explicit TestHttpServer(Handler handler);
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    Text url(const Text& path = "/") const;
    // Every request so far, in the order they were complete.
    std::vector<RecordedRequest> requests() const;
    // The last request; an empty record when none came.
    RecordedRequest lastRequest() const;

  private:
    void acceptLoop();
    void serve(int socket);
    bool answer(int socket, const TestReply& reply);
    void pause(int ms) const;
    void reapFinishedConnections();

    struct Connection {
        int socket;
        std::shared_ptr<std::atomic<bool>> finished;
        std::thread thread;
    };

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<RecordedRequest> requests_;
    std::vector<Connection> connections_;
    std::thread acceptor_;
};

} // namespace quorvel::test
