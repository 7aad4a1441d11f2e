#include <benchmark/benchmark.h>

#include <chrono>

#include "BareFetch.h"
#include "BenchService.h"
#include "Catalogue.h"
#include "app/toolkit/HeadlessToolkit.h"
#include "service/LinkResolution.h"
#include "service/SongSearch.h"
#include "text/EscapeDecoding.h"
#include "text/GbkLiteral.h"

namespace quorvel {
namespace {

// From the search's start to the last of its 40 rows in the list.
void BM_SearchToLastRow(benchmark::State& state) {
    benchService();
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
    benchService();
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
    alternateWithBareFetch(state, playDataUrl(hash), [&] { resolveLink(hash); });
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
