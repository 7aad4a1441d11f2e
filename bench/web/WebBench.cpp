// Both fetchers against a loopback server, beside a bare libcurl transfer of the same address,
// and a run of small requests watching the resident memory.
#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

#include "BareFetch.h"
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

void checkSize(benchmark::State& state, const Bytes& body) {
    if (body.size() != largeBodySize) state.SkipWithError("short body");
}

void bareLibcurl1MiB(benchmark::State& state) {
    for (auto _ : state)
        checkSize(state, bareFetch(server().url("/large")));
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
