#pragma once
// A local stand-in for the music service: song search, play data, an update page and audio
// files, on 127.0.0.1 only.
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
} // namespace httplib

namespace quorvel::demo {

struct DemoOptions {
    int delayMs = 0;           // wait this long before every answer
    bool brokenBodies = false; // cut every service answer in half
    int fillTo = 0;            // repeat search hits until there are this many
    std::string updatePage;    // the update page's bytes (GBK); empty: the page is missing
    std::string searchBody;    // when set, every search gets exactly this body
    std::string playBody;      // when set, every play-data request gets exactly this body
};

// What the service saw of a request.
struct SeenRequest {
    std::string target; // path and query, as sent
    std::string userAgent;
};

class DemoService {
  public:
    explicit DemoService(DemoOptions options);
    ~DemoService();
    DemoService(const DemoService&) = delete;
    DemoService& operator=(const DemoService&) = delete;

    // Listens on 127.0.0.1:port (0: a free port) in a thread of its own; the port, or -1.
    int start(int port);
    // Blocks until the service has stopped.
    void wait();
    void stop();
    // "127.0.0.1:port".
    std::string hostPort() const;

    // The last request the service received.
    SeenRequest lastRequest() const;

  private:
    bool bind(int port);
    void addRoutes();
    void remember(const httplib::Request& request);

    DemoOptions options_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
    mutable std::mutex mutex_;
    SeenRequest lastRequest_;
};

} // namespace quorvel::demo
