#include "support/TestHttpsServer.h"

#include <httplib.h>
#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>

namespace quorvel::test {

namespace {

// A key and a certificate for 127.0.0.1 that no authority signed.
void makeSelfSignedCertificate(const std::filesystem::path& directory) {
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
        " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
        (directory / "key.pem").string() + "' -out '" + (directory / "cert.pem").string() +
        "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl failed");
}

} // namespace

std::filesystem::path makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

TestHttpsServer::TestHttpsServer(const Text& body, const Text& redirectTarget)
    : directory_(makeTemporaryDirectory()) {
    makeSelfSignedCertificate(directory_);
    server_ = std::make_unique<httplib::SSLServer>((directory_ / "cert.pem").c_str(),
                                                   (directory_ / "key.pem").c_str());
    auto answer = [body, redirectTarget](const httplib::Request& request,
                                         httplib::Response& response) {
        if (request.path == "/redirect")
            response.set_redirect(redirectTarget);
        else
            response.set_content(body, "text/plain");
    };
    server_->Get(".*", answer);
    server_->Post(".*", answer);
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

TestHttpsServer::~TestHttpsServer() {
    server_->stop();
    thread_.join();
    std::filesystem::remove_all(directory_);
}

Text TestHttpsServer::url(const Text& path) const {
    return concat(Text("https://127.0.0.1:"), toText(port_), path);
}

} // namespace quorvel::test
