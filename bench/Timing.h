// Wall-clock timing shared by the benchmarks: one call, the median of several, and a benchmark's
// iterations timed one by one as its manual time.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <vector>

namespace bench_timing {

// Seconds that one call of work takes.
inline double SecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of runs timings of work, in seconds.
inline double MedianSeconds(const std::function<void()>& work, int runs = 7) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i)
        seconds.push_back(SecondsOf(work));
    return Median(std::move(seconds));
}

// Runs work once per iteration of state, each run's time the iteration's manual time; returns
// the mean in seconds.
inline double TimeEachIteration(benchmark::State& state, const std::function<void()>& work) {
    double total = 0;
    for (auto _ : state) {
        const double seconds = SecondsOf(work);
        total += seconds;
        state.SetIterationTime(seconds);
    }
    return total / static_cast<double>(state.iterations());
}

} // namespace bench_timing
