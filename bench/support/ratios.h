// Runs the registered benchmarks in pairs and prints the ratio of each library benchmark to
// its raw-engine baseline, both measured in the same process.
//
// A shared virtual machine runs faster and slower by turns, by as much as half. So the two
// sides of a pair run alternately, one after the other, round after round; each round gives
// one ratio of CPU times, and the median of the rounds is the pair's ratio. Both sides of a
// round meet the same phase of the machine.
//
// Options: --rounds=N (default 7, or the benchmark's own); --benchmark_filter=REGEX runs the pairs whose library
// benchmark it finds; Google Benchmark's other flags are passed on. BENCH_DEBUG=1 in the
// environment prints every round's two times.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/median.h"

namespace benchsupport {

// Keeps the CPU time of each benchmark's last run, and prints nothing.
class LastRun : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration) seconds_[r.run_name.function_name] = r.GetAdjustedCPUTime();
    }
    // Runs the benchmark of that name once and gives its CPU time per iteration (its unit).
    double Run(const std::string& name) {
        seconds_.erase(name);
        benchmark::RunSpecifiedBenchmarks(this, "^" + name + "(/|$)");
        const auto it = seconds_.find(name);
        if (it == seconds_.end()) {
            std::fprintf(stderr, "no benchmark named %s\n", name.c_str());
            std::exit(1);
        }
        return it->second;
    }

private:
    std::map<std::string, double> seconds_;
};

struct Pair {
    std::string library;
    std::string raw;   // empty: print the library's own time
    double goal;       // 0 = no goal, just the ratio
};

// The median CPU seconds of every benchmark the pairs ran, by name.
using Medians = std::map<std::string, double>;

inline int RunWithRatios(int argc, char** argv, const std::vector<Pair>& pairs,
                         const std::vector<std::pair<std::string, std::string>>& notes = {}, int rounds = 7,
                         const std::function<void(const Medians&)>& after = {}) {
    std::regex filter(".*");
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a.starts_with("--rounds=")) rounds = std::max(1, std::atoi(argv[i] + 9));
        else if (a.starts_with("--benchmark_filter=")) filter = std::regex(argv[i] + 19);
        else args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    LastRun runner;
    Medians medians;

    std::printf("%-44s %10s %10s %7s  (median of %d rounds, CPU time)\n", "library / raw engine", "raw",
                "library", "ratio", rounds);
    for (const auto& p : pairs) {
        if (!std::regex_search(p.library, filter)) continue;
        std::vector<double> raw, library, ratios;
        for (int r = 0; r < rounds; ++r) {
            if (!p.raw.empty()) raw.push_back(runner.Run(p.raw));
            library.push_back(runner.Run(p.library));
            if (!p.raw.empty()) ratios.push_back(library.back() / raw.back());
            if (std::getenv("BENCH_DEBUG"))
                std::fprintf(stderr, "%s round %d: %.3f %.3f\n", p.library.c_str(), r + 1,
                             p.raw.empty() ? 0.0 : raw.back(), library.back());
        }
        medians[p.library] = Median(library);
        if (!p.raw.empty()) medians[p.raw] = Median(raw);
        if (p.raw.empty()) {
            std::printf("%-44s %10s %10.3f\n", p.library.c_str(), "", Median(library));
            continue;
        }
        const double ratio = Median(ratios);
        std::printf("%-44s %10.3f %10.3f %7.2f", (p.library + " / " + p.raw).c_str(), Median(raw), Median(library),
                    ratio);
        if (p.goal > 0) std::printf("  (goal <= %.2f%s)", p.goal, ratio <= p.goal ? "" : ", MISSED");
        std::printf("\n");
        std::fflush(stdout);
    }
    for (const auto& [what, value] : notes) std::printf("%-44s %s\n", what.c_str(), value.c_str());
    if (after) after(medians);
    return 0;
}

}  // namespace benchsupport
