// Start-up of the program to its main window shown, beside a minimal Qt Widgets program: wall
// time per launch and the peak resident memory of the launched process.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Launches program (with an optional argument) on Qt's offscreen platform and waits for it;
// returns its peak RSS in kB.
long launch(const char* program, const char* argument) {
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

void prepareEnvironment() {
    static char runtimeDir[] = "/tmp/quorvel-bench-XXXXXX";
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QUORVEL_SKIP_UPDATE_CHECK", "1", 1);
    setenv("QUORVEL_QUIT_WHEN_SHOWN", "1", 1);
    if (mkdtemp(runtimeDir)) setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
}

void runLaunches(benchmark::State& state, const char* program, const char* argument = nullptr) {
    prepareEnvironment();
    long peakSum = 0;
    for (auto _ : state) {
        long peak = launch(program, argument);
        if (peak < 0) {
            state.SkipWithError("the program did not start and end cleanly");
            return;
        }
        peakSum += peak;
    }
    state.counters["peak_rss_kB"] =
        benchmark::Counter(static_cast<double>(peakSum) / static_cast<double>(state.iterations()));
}

void quorvelStartup(benchmark::State& state) {
    runLaunches(state, QUORVEL_PROGRAM);
}
void minimalQtStartup(benchmark::State& state) {
    runLaunches(state, QUORVEL_MINIMAL_QT_PROGRAM);
}
void minimalQtWithChineseLabelStartup(benchmark::State& state) {
    runLaunches(state, QUORVEL_MINIMAL_QT_PROGRAM, "--label");
}

} // namespace

BENCHMARK(minimalQtStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(minimalQtWithChineseLabelStartup)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);
BENCHMARK(quorvelStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

BENCHMARK_MAIN();
