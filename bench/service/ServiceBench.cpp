#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <curl/curl.h>

#include "Catalogue.h"
#include "DemoService.h"
#include "app/toolkit/HeadlessToolkit.h"
#include "service/LinkResolution.h"
#include "service/SongSearch.h"
#include "text/EscapeDecoding.h"
#include "text/GbkLiteral.h"

namespace quorvel {
namespace {

// One demo service for the whole run, answering every search with 40 hits.
demo::DemoService& service() {
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

const std::string searchQuery =
    "/song_search_v2?callback=jQuery1910026785707623246724_1490845878865&keyword=%E6%99%B4"
    "&page=1&pagesize=40&userid=-1&clientver=&platform=WebFilter&tag=em&filter=2"
    "&iscorrection=1&privilege_filter=0&_=1490845878887";

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

// A fresh connection and one GET, as a fetch of the program makes it.
std::string bareFetch(const std::string& url) {
    CURL* curl = curl_easy_init();
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return body;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times ours beside a bare fetch of the same url, the two taking turns. Every fetch leaves a
// closed connection in TIME_WAIT, tens of thousands in a run, and new connections get slower as
// they pile up; taking turns lets both sides meet the same state. The benchmark's time is ours;
// the bare fetch's time and ours divided by it are counters.
template <class Ours>
void alternateWithBareFetch(benchmark::State& state, const std::string& url, Ours ours) {
    double bareSeconds = 0, ourSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point bareStart = Clock::now();
        benchmark::DoNotOptimize(bareFetch(url));
        bareSeconds += secondsSince(bareStart);
        const Clock::time_point ourStart = Clock::now();
        ours();
        const double ourTime = secondsSince(ourStart);
        ourSeconds += ourTime;
        state.SetIterationTime(ourTime);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["bare_fetch_us"] = bareSeconds / runs * 1e6;
    state.counters["x_bare_fetch"] = ourSeconds / bareSeconds;
}

std::string searchUrl() {
    return "http://" + service().hostPort() + searchQuery;
}

// From the search's start to the last of its 40 rows in the list.
void BM_SearchToLastRow(benchmark::State& state) {
    service();
    HeadlessToolkit headless;
    installToolkit(&headless);
    headless.writeText(WindowId::Main, ControlId::KeywordBox, "晴"_gbk);
    alternateWithBareFetch(state, searchUrl(), [] { runSearch(); });
    installToolkit(nullptr);
    if (headless.rowCount() != 40) state.SkipWithError("the search did not give 40 rows");
}
BENCHMARK(BM_SearchToLastRow)->Unit(benchmark::kMicrosecond)->UseManualTime();

// The fetch alone, through the program's fetcher, for the search's answer.
void BM_FetchSearchAnswer(benchmark::State& state) {
    alternateWithBareFetch(state, searchUrl(),
                           [] { benchmark::DoNotOptimize(fetchSearchAnswer("晴"_gbk)); });
}
BENCHMARK(BM_FetchSearchAnswer)->Unit(benchmark::kMicrosecond)->UseManualTime();

// The client's own work on a fetched 40-hit answer: the JSONP cut, the parse and the queries.
void BM_SearchHitsOfAnswer(benchmark::State& state) {
    service();
    const Text answer = fetchSearchAnswer("晴"_gbk);
    for (auto _ : state)
        benchmark::DoNotOptimize(searchHits(answer));
}
BENCHMARK(BM_SearchHitsOfAnswer)->Unit(benchmark::kMicrosecond);

// From the resolution's start to the six lines written.
void BM_ResolveToSixLines(benchmark::State& state) {
    HeadlessToolkit headless;
    installToolkit(&headless);
    const std::string hash = demo::catalogue()[0].standard.hash;
    alternateWithBareFetch(
        state, "http://" + service().hostPort() + "/yy/index.php?r=play/getdata&hash=" + hash,
        [&] { resolveLink(hash); });
    installToolkit(nullptr);
    if (headless.readText(WindowId::Result, ControlId::InfoBox).empty())
        state.SkipWithError("the resolution wrote nothing");
}
BENCHMARK(BM_ResolveToSixLines)->Unit(benchmark::kMicrosecond)->UseManualTime();

// A toolkit whose event processing costs what Qt's does with nothing queued (about 0.5 us).
class EventLoopStandIn : public Toolkit {
  public:
    void processEvents() override {
        ++calls;
        const auto end = std::chrono::steady_clock::now() + std::chrono::nanoseconds(500);
        while (std::chrono::steady_clock::now() < end) {
        }
    }
    long calls = 0;
};

// The fallback decoder over a 64 KiB answer full of escapes.
void BM_DecodePercentU64KiB(benchmark::State& state) {
    EventLoopStandIn standIn;
    installToolkit(&standIn);
    Text text;
    while (text.size() < 64 * 1024)
        text += "%u6674%u5929 ";
    for (auto _ : state)
        benchmark::DoNotOptimize(decodePercentU(text));
    installToolkit(nullptr);
    state.counters["eventsPerCall"] =
        static_cast<double>(standIn.calls) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DecodePercentU64KiB)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorvel
