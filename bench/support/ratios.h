// Runs the registered benchmarks and prints, after Google Benchmark's own table, the ratio
// of each library benchmark to its raw-engine baseline measured in the same run.
//
// Ratios use CPU time: both sides run on one thread, and CPU time does not count waiting for
// a busy machine. Each benchmark runs several times in random order and the fastest run of
// each counts, so a burst of load on a shared machine does not land on one side only.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace benchsupport {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Iteration) {
                const double t = r.GetAdjustedCPUTime();
                auto [it, added] = seconds_.emplace(r.run_name.function_name, t);
                if (!added) it->second = std::min(it->second, t);
            }
            // One line per benchmark: its median when repeated, its only run otherwise.
            if (r.aggregate_name == "median" || r.repetitions <= 1) shown.push_back(r);
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }
    double Time(const std::string& name) const {
        auto it = seconds_.find(name);
        return it == seconds_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> seconds_;  // the fastest run of each benchmark
};

struct Pair {
    std::string library;
    std::string raw;   // empty: print the library's own time
    double goal;       // 0 = no goal, just the ratio
};

inline int RunWithRatios(int argc, char** argv, const std::vector<Pair>& pairs,
                         const std::vector<std::pair<std::string, std::string>>& notes = {}) {
    // Repeated and interleaved unless the command line says otherwise.
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    auto given = [&](std::string_view flag) {
        return std::any_of(args.begin() + 1, args.end(), [&](const char* a) { return std::string_view(a).starts_with(flag); });
    };
    if (!given("--benchmark_repetitions")) args.push_back(repetitions);
    if (!given("--benchmark_enable_random_interleaving")) args.push_back(interleaving);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios (library / raw engine, fastest of each, same process):\n");
    for (const auto& p : pairs) {
        const double lib = reporter.Time(p.library), raw = reporter.Time(p.raw);
        if (lib <= 0) continue;
        if (p.raw.empty()) {  // no baseline: the time of one iteration
            std::printf("  %-44s %.3f ms\n", p.library.c_str(), lib);
            continue;
        }
        if (raw <= 0) continue;
        std::printf("  %-44s %6.2f", (p.library + " / " + p.raw).c_str(), lib / raw);
        if (p.goal > 0) std::printf("   (goal <= %.2f%s)", p.goal, lib / raw <= p.goal ? "" : ", MISSED");
        std::printf("\n");
    }
    for (const auto& [what, value] : notes) std::printf("  %-44s %s\n", what.c_str(), value.c_str());
    return 0;
}

}  // namespace benchsupport
