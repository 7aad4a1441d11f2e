#include "support/TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace quorvel::test {

namespace {

int listenOnLoopback(int& port) {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(s, 64) != 0)
        throw std::runtime_error("test server cannot listen");
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return s;
}

bool sendAll(int socket, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::send(socket, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads until the buffer holds at least size bytes; false when the peer is gone first.
bool receiveUntil(int socket, Text& buffer, std::size_t size) {
    char piece[16384];
    while (buffer.size() < size) {
        ssize_t n = ::recv(socket, piece, sizeof piece, 0);
        if (n <= 0) return false;
        buffer.append(piece, static_cast<std::size_t>(n));
    }
    return true;
}

// One request off the connection; the rest of buffer stays for the next one.
std::optional<RecordedRequest> readRequest(int socket, Text& buffer) {
    std::size_t headEnd;
    while ((headEnd = buffer.find("\r\n\r\n")) == Text::npos)
        if (!receiveUntil(socket, buffer, buffer.size() + 1)) return std::nullopt;
    RecordedRequest request;
    std::vector<Text> lines = split(buffer.substr(0, headEnd), "\r\n");
    request.requestLine = lines.empty() ? Text() : lines.front();
    if (!lines.empty()) request.headerLines.assign(lines.begin() + 1, lines.end());
    buffer.erase(0, headEnd + 4);
    const std::size_t bodySize = toInt(request.header("Content-Length").value_or("0"));
    if (!receiveUntil(socket, buffer, bodySize)) return std::nullopt;
    request.body.assign(buffer.begin(), buffer.begin() + bodySize);
    buffer.erase(0, bodySize);
    return request;
}

Text replyHead(const TestReply& reply) {
    Text head =
        concat(Text("HTTP/1.1 "), toText(reply.status), Text(" "), reply.reason, Text("\r\n"));
    for (const Text& line : reply.headerLines)
        head += line + "\r\n";
    if (reply.endless)
        head += "Connection: close\r\n";
    else if (reply.contentLength)
        head += concat(Text("Content-Length: "),
                       toText(static_cast<std::int64_t>(reply.body.size())), Text("\r\n"));
    return head + "\r\n";
}

} // namespace

Text RecordedRequest::method() const {
    return requestLine.substr(0, requestLine.find(' '));
}

Text RecordedRequest::target() const {
    std::vector<Text> parts = split(requestLine, " ");
    return parts.size() > 1 ? parts[1] : Text();
}

std::optional<Text> RecordedRequest::header(const Text& name) const {
    for (const Text& line : headerLines)
        if (find(line, name + ":", 1, true) == 1) return trim(line.substr(name.size() + 1));
    return std::nullopt;
}

TestReply textReply(const Text& body, std::vector<Text> headerLines, int status) {
    TestReply reply;
    reply.status = status;
    reply.reason = status == 200 ? "OK" : "Status";
    reply.headerLines = std::move(headerLines);
    reply.body = toBytes(body);
    return reply;
}

TestHttpServer::TestHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = listenOnLoopback(port_);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
    stopping_ = true;
    acceptor_.join();
    ::close(listener_);
    for (Connection& c : connections_) {
        ::shutdown(c.socket, SHUT_RDWR);
        c.thread.join();
        ::close(c.socket);
    }
}

Text TestHttpServer::url(const Text& path) const {
    return concat(Text("http://127.0.0.1:"), toText(port_), path);
}

std::vector<RecordedRequest> TestHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

RecordedRequest TestHttpServer::lastRequest() const {
    std::lock_guard lock(mutex_);
    return requests_.empty() ? RecordedRequest{} : requests_.back();
}

void TestHttpServer::acceptLoop() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        int s = ::accept(listener_, nullptr, nullptr);
        if (s < 0) continue;
        reapFinishedConnections();
        auto finished = std::make_shared<std::atomic<bool>>(false);
        connections_.push_back({s, finished, std::thread([this, s, finished] {
                                    serve(s);
                                    *finished = true;
                                })});
    }
}

void TestHttpServer::reapFinishedConnections() {
    for (auto c = connections_.begin(); c != connections_.end();) {
        if (!*c->finished) {
            ++c;
            continue;
        }
        c->thread.join();
        ::close(c->socket);
        c = connections_.erase(c);
    }
}

void TestHttpServer::serve(int socket) {
    Text buffer;
    while (!stopping_) {
        std::optional<RecordedRequest> request = readRequest(socket, buffer);
        if (!request) break;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(*request);
        }
        if (!answer(socket, handler_(*request))) break;
    }
    ::shutdown(socket, SHUT_RDWR);
}

bool TestHttpServer::answer(int socket, const TestReply& reply) {
    pause(reply.stallMs);
    const Text head = replyHead(reply);
    if (!sendAll(socket, head.data(), head.size())) return false;
    if (!reply.endless)
        return sendAll(socket, reinterpret_cast<const char*>(reply.body.data()), reply.body.size());
    const Text piece(65536, 'x');
    while (!stopping_ && sendAll(socket, piece.data(), piece.size())) {
    }
    return false;
}

void TestHttpServer::pause(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

} // namespace quorvel::test
