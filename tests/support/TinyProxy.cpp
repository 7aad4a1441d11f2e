#include "support/TinyProxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "support/TestHttpsServer.h"

namespace quorvel::test {

namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

int freeLoopbackPort() {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(s);
    return ntohs(address.sin_port);
}

bool accepts(int port) {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    bool connected = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return connected;
}

void writeConfiguration(const std::filesystem::path& file, int port,
                        const std::optional<ProxyCredentials>& credentials) {
    std::ofstream out(file);
    out << "Port " << port << "\nListen 127.0.0.1\nTimeout 30\nMaxClients 50\n"
        << "Allow 127.0.0.1\nLogLevel Info\n";
    if (credentials)
        out << "BasicAuth " << credentials->user << ' ' << credentials->password << '\n';
}

} // namespace

TinyProxy::TinyProxy(std::optional<ProxyCredentials> credentials)
    : directory_(makeTemporaryDirectory()), port_(freeLoopbackPort()) {
    const std::string config = (directory_ / "tinyproxy.conf").string();
    const std::string log = (directory_ / "tinyproxy.log").string();
    writeConfiguration(config, port_, credentials);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const char* argv[] = {"/usr/bin/tinyproxy", "-d", "-c", config.c_str(), nullptr};
    int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) throw std::runtime_error("tinyproxy did not start");
    for (int i = 0; i < 100 && !accepts(port_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TinyProxy::~TinyProxy() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    std::filesystem::remove_all(directory_);
}

Text TinyProxy::address() const {
    return concat(Text("127.0.0.1:"), toText(port_));
}

} // namespace quorvel::test
