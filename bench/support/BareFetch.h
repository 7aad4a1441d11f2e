#pragma once
// The yardstick of the service benchmarks: a bare libcurl fetch, timed in turns with ours.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "text/Text.h"

namespace quorvel {

// A fresh connection and one GET, as a fetch of the program makes it; the body.
Bytes bareFetch(const std::string& url);

// Times ours beside a bare fetch of url, the two taking turns. Every fetch leaves a closed
// connection in TIME_WAIT, tens of thousands in a run, and new connections get slower as they
// pile up; taking turns lets both sides meet the same state. The benchmark's time is ours (use
// UseManualTime); the bare fetch's time and ours divided by it are counters. prepare runs
// before each turn, untimed.
template <class Ours, class Prepare = void (*)()>
void alternateWithBareFetch(
    benchmark::State& state, const std::string& url, Ours ours, Prepare prepare = [] {}) {
    using Clock = std::chrono::steady_clock;
    auto secondsSince = [](Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double bareSeconds = 0, ourSeconds = 0;
    for (auto _ : state) {
        prepare();
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

} // namespace quorvel
