#include <benchmark/benchmark.h>

#include "text/Text.h"

using namespace quorvel;

namespace {

// Mixed GBK and ASCII text of about size bytes, with the marker only at its end.
Text haystack(std::size_t size, const Text& marker) {
    Text t;
    while (t.size() + marker.size() < size)
        t += "\xD6\xD0\xCE\xC4 FileName\":\"a<em>b</em>\",";
    return t + marker;
}

void findMarker(benchmark::State& state, const Text& marker, bool noCase) {
    const Text t = haystack(static_cast<std::size_t>(state.range(0)), marker);
    for (auto _ : state)
        benchmark::DoNotOptimize(find(t, marker, 1, noCase));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}

void findLongMarker(benchmark::State& state) {
    findMarker(state, "\"SQFileHash\":\"", false);
}
void findSingleByte(benchmark::State& state) {
    findMarker(state, "}", false);
}
void findIgnoringCase(benchmark::State& state) {
    findMarker(state, "\"sqfilehash\":\"", true);
}

} // namespace

BENCHMARK(findLongMarker)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity();
BENCHMARK(findSingleByte)->Arg(1 << 20);
BENCHMARK(findIgnoringCase)->Arg(1 << 20);
