#include "DemoService.h"

#include <chrono>
#include <httplib.h>

#include "ServiceAnswers.h"

namespace quorvel::demo {

namespace {

const char* const loopback = "127.0.0.1";
const char* const defaultCallback = "jQuery1910026785707623246724_1490845878865";

// A few kilobytes that start like an MP3 file.
std::string audioBytes(const std::string& name) {
    std::string bytes = "ID3\x03";
    for (int i = 0; bytes.size() < 4096; ++i)
        bytes += static_cast<char>((i * 31 + static_cast<int>(name.size())) & 0xFF);
    return bytes;
}

} // namespace

DemoService::DemoService(DemoOptions options)
    : options_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
    addRoutes();
}

DemoService::~DemoService() {
    stop();
}

void DemoService::remember(const httplib::Request& request) {
    std::lock_guard lock(mutex_);
    lastRequest_ = {request.target, request.get_header_value("User-Agent")};
}

SeenRequest DemoService::lastRequest() const {
    std::lock_guard lock(mutex_);
    return lastRequest_;
}

void DemoService::addRoutes() {
    server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        remember(request);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    auto answer = [this](httplib::Response& response, std::string body, const char* type) {
        if (options_.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options_.delayMs));
        if (options_.brokenBodies) body.resize(body.size() / 2);
        response.set_content(body, type);
    };
    server_->Get("/song_search_v2", [this, answer](const httplib::Request& request,
                                                   httplib::Response& response) {
        const std::string callback = request.has_param("callback")
                                         ? request.get_param_value("callback")
                                         : std::string(defaultCallback);
        answer(response,
               options_.searchBody.empty()
                   ? searchAnswer(request.get_param_value("keyword"), callback, options_.fillTo)
                   : options_.searchBody,
               "text/javascript; charset=utf-8");
    });
    server_->Get("/yy/index.php", [this, answer](const httplib::Request& request,
                                                 httplib::Response& response) {
        answer(response,
               options_.playBody.empty()
                   ? playAnswer(request.get_param_value("hash"), "http://" + hostPort())
                   : options_.playBody,
               "text/html; charset=utf-8");
    });
    server_->Get("/update-page.txt", [this](const httplib::Request&, httplib::Response& response) {
        if (options_.updatePage.empty()) {
            response.status = 404;
            return;
        }
        response.set_content(options_.updatePage, "text/plain; charset=gbk");
    });
    server_->Get(R"(/audio/(\w+)\.mp3)",
                 [](const httplib::Request& request, httplib::Response& response) {
                     response.set_content(audioBytes(request.matches[1]), "audio/mpeg");
                 });
}

bool DemoService::bind(int port) {
    if (port == 0) {
        port_ = server_->bind_to_any_port(loopback);
    } else {
        port_ = server_->bind_to_port(loopback, port) ? port : -1;
    }
    return port_ > 0;
}

int DemoService::start(int port) {
    if (!bind(port)) return -1;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port_;
}

void DemoService::wait() {
    if (thread_.joinable()) thread_.join();
}

void DemoService::stop() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

std::string DemoService::hostPort() const {
    return std::string(loopback) + ":" + std::to_string(port_);
}

} // namespace quorvel::demo
