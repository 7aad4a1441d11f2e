#include <benchmark/benchmark.h>

#include "text/CodePage.h"

using namespace quorvel;

namespace {

// About 1 MiB of UTF-8 Chinese with some ASCII, like a lyrics answer.
Bytes chineseUtf8() {
    const Text line = "[00:12.34]\xE6\x88\x91\xE4\xBB\xAC\xE7\x9A\x84\xE6\xAD\x8C\xE4\xB8\xAD"
                      "\xE6\x96\x87\xE6\xAD\x8C\xE8\xAF\x8D\xE4\xBF\xA1\xE6\x81\xAF\r\n";
    Bytes b;
    while (b.size() < (1u << 20))
        b.insert(b.end(), line.begin(), line.end());
    return b;
}

void utf8BytesToGbkText(benchmark::State& state) {
    const Bytes input = chineseUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(utf8BytesToText(input));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void gbkTextToUtf8(benchmark::State& state) {
    const Text gbk = utf8BytesToText(chineseUtf8());
    for (auto _ : state)
        benchmark::DoNotOptimize(gbkToUtf8(gbk));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}

} // namespace

BENCHMARK(utf8BytesToGbkText);
BENCHMARK(gbkTextToUtf8);
