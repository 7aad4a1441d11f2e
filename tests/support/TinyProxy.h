#pragma once
// A real HTTP proxy for tests: tinyproxy started in the foreground on a free loopback port with
// a generated configuration, optionally demanding Basic credentials; stopped when destroyed.
#include <sys/types.h>

#include <filesystem>
#include <optional>

#include "text/Text.h"

namespace quorvel::test {

struct ProxyCredentials {
    Text user;
    Text password;
};

class TinyProxy {
  public:
    explicit TinyProxy(std::optional<ProxyCredentials> credentials = std::nullopt);
    ~TinyProxy();
    TinyProxy(const TinyProxy&) = delete;
    TinyProxy& operator=(const TinyProxy&) = delete;

    // "127.0.0.1:<port>".
    Text address() const;

  private:
    std::filesystem::path directory_;
    int port_ = 0;
    pid_t pid_ = -1;
};

} // namespace quorvel::test
