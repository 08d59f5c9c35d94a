// Runs the registered benchmarks and prints, after Google Benchmark's own table, the ratio
// of each library benchmark to its raw-engine baseline measured in the same run. Ratios use
// CPU time: both sides run on one thread, and CPU time does not count waiting for a busy machine.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace benchsupport {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                seconds_[r.run_name.function_name] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const {
        auto it = seconds_.find(name);
        return it == seconds_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> seconds_;
};

struct Pair {
    std::string library;
    std::string raw;   // empty: print the library's own time
    double goal;       // 0 = no goal, just the ratio
};

inline int RunWithRatios(int argc, char** argv, const std::vector<Pair>& pairs,
                         const std::vector<std::pair<std::string, std::string>>& notes = {}) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios (library / raw engine, same process):\n");
    for (const auto& p : pairs) {
        const double lib = reporter.Time(p.library), raw = reporter.Time(p.raw);
        if (lib <= 0) continue;
        if (p.raw.empty()) {  // no baseline: the time of one iteration
            std::printf("  %-40s %.3f ms\n", p.library.c_str(), lib);
            continue;
        }
        if (raw <= 0) continue;
        std::printf("  %-40s %6.2f", p.library.c_str(), lib / raw);
        if (p.goal > 0) std::printf("   (goal <= %.2f%s)", p.goal, lib / raw <= p.goal ? "" : ", MISSED");
        std::printf("\n");
    }
    for (const auto& [what, value] : notes) std::printf("  %-40s %s\n", what.c_str(), value.c_str());
    return 0;
}

}  // namespace benchsupport
