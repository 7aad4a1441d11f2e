// quorvel-demo-service: a local music service for trying Quorvel offline.
//   quorvel-demo-service [--port N] [--delay-ms N] [--broken] [--fill N] [--update-page FILE]
// --port 0 (the default) picks a free port. The chosen port is printed on the first line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "DemoService.h"

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void usage() {
    std::fprintf(stderr, "usage: quorvel-demo-service [--port N] [--delay-ms N] [--broken] "
                         "[--fill N] [--update-page FILE]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    quorvel::demo::DemoOptions options;
    options.updatePage = readFile(QUORVEL_DEMO_UPDATE_PAGE);
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--broken"))
            options.brokenBodies = true;
        else if (!std::strcmp(argv[i], "--port") && hasValue)
            port = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--delay-ms") && hasValue)
            options.delayMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--fill") && hasValue)
            options.fillTo = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--update-page") && hasValue)
            options.updatePage = readFile(argv[++i]);
        else
            usage();
    }
    quorvel::demo::DemoService service(options);
    const int bound = service.start(port);
    if (bound < 0) {
        std::fprintf(stderr, "quorvel-demo-service: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::cout << bound << std::endl;
    std::cerr << "Demo service on http://127.0.0.1:" << bound << " (Ctrl+C ends it)\n"
              << "  QUORVEL_SEARCH_HOST=127.0.0.1:" << bound
              << " QUORVEL_PLAY_HOST=127.0.0.1:" << bound
              << " QUORVEL_UPDATE_URL=http://127.0.0.1:" << bound << "/update-page.txt\n";
    service.wait();
    return 0;
}
