// Both fetchers against a loopback server, beside a bare libcurl transfer of the same address,
// and a run of small requests watching the resident memory.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <fstream>
#include <unistd.h>

#include "support/TestHttpServer.h"
#include "web/FetchCom.h"
#include "web/FetchWinInet.h"

namespace quorvel {
namespace {

constexpr std::size_t largeBodySize = 1u << 20;

test::TestReply answer(const test::RecordedRequest& request) {
    static const Bytes largeBody(largeBodySize, 'b');
    test::TestReply reply;
    reply.body = request.target() == "/large" ? largeBody : toBytes("small answer");
    return reply;
}

test::TestHttpServer& server() {
    static test::TestHttpServer instance(answer);
    return instance;
}

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user) {
    auto* body = static_cast<Bytes*>(user);
    body->insert(body->end(), data, data + size * count);
    return size * count;
}

Bytes bareCurlGet(const Text& url) {
    Bytes body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return body;
}

void checkSize(benchmark::State& state, const Bytes& body) {
    if (body.size() != largeBodySize) state.SkipWithError("short body");
}

void bareLibcurl1MiB(benchmark::State& state) {
    for (auto _ : state)
        checkSize(state, bareCurlGet(server().url("/large")));
    state.SetBytesProcessed(state.iterations() * largeBodySize);
}

template <Bytes (*fetch)(WebRequest&)> void fetcher1MiB(benchmark::State& state) {
    for (auto _ : state) {
        WebRequest request;
        request.url = server().url("/large");
        checkSize(state, fetch(request));
    }
    state.SetBytesProcessed(state.iterations() * largeBodySize);
}

long residentKiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

template <Bytes (*fetch)(WebRequest&)> void smallGets(int count) {
    for (int i = 0; i < count; ++i) {
        WebRequest request;
        request.url = server().url("/small");
        benchmark::DoNotOptimize(fetch(request));
    }
}

// 200 sequential small requests per fetcher after a warm-up; reports resident memory.
void sequentialSmallGets(benchmark::State& state) {
    smallGets<fetchWinInet>(20);
    smallGets<fetchCom>(20);
    const long before = residentKiB();
    for (auto _ : state) {
        smallGets<fetchWinInet>(200);
        smallGets<fetchCom>(200);
    }
    const long after = residentKiB();
    state.counters["rssBeforeKiB"] = static_cast<double>(before);
    state.counters["rssAfterKiB"] = static_cast<double>(after);
    state.counters["rssGrowthKiB"] = static_cast<double>(after - before);
}

BENCHMARK(bareLibcurl1MiB)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(fetcher1MiB<fetchWinInet>)
    ->Name("fetchWinInet1MiB")
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(fetcher1MiB<fetchCom>)
    ->Name("fetchCom1MiB")
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(sequentialSmallGets)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorvel
