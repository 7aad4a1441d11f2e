#include "BenchService.h"

#include <cstdlib>

namespace quorvel {

demo::DemoService& benchService() {
    static demo::DemoService* instance = [] {
        demo::DemoOptions options;
        options.fillTo = 40;
        auto* s = new demo::DemoService(options);
        s->start(0);
        setenv("QUORVEL_SEARCH_HOST", s->hostPort().c_str(), 1);
        setenv("QUORVEL_PLAY_HOST", s->hostPort().c_str(), 1);
        return s;
    }();
    return *instance;
}

std::string searchUrl() {
    return "http://" + benchService().hostPort() +
           "/song_search_v2?callback=jQuery1910026785707623246724_1490845878865&keyword=%E6%99%B4"
           "&page=1&pagesize=40&userid=-1&clientver=&platform=WebFilter&tag=em&filter=2"
           "&iscorrection=1&privilege_filter=0&_=1490845878887";
}

std::string playDataUrl(const std::string& hash) {
    return "http://" + benchService().hostPort() + "/yy/index.php?r=play/getdata&hash=" + hash;
}

} // namespace quorvel
