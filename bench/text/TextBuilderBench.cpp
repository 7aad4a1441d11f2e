#include <benchmark/benchmark.h>

#include "text/TextBuilder.h"

using namespace quorvel;

namespace {

void appendSingleBytes(benchmark::State& state) {
    const auto count = state.range(0);
    for (auto _ : state) {
        TextBuilder builder;
        for (std::int64_t i = 0; i < count; ++i)
            builder.appendByte(static_cast<char>('a' + i % 26));
        benchmark::DoNotOptimize(builder.textLength());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * count);
    state.SetComplexityN(count);
}

void appendOneByteTexts(benchmark::State& state) {
    const auto count = state.range(0);
    const Text one = "x";
    for (auto _ : state) {
        TextBuilder builder;
        for (std::int64_t i = 0; i < count; ++i)
            builder.append(one);
        benchmark::DoNotOptimize(builder.textLength());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * count);
}

} // namespace

BENCHMARK(appendSingleBytes)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity();
BENCHMARK(appendOneByteTexts)->Arg(1 << 20);
