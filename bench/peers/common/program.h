// What every contender's program shares: its command line, a stopwatch around the work the
// user waits for, the count each workload must reach, and the one line it prints.
//
//   PROGRAM WORKLOAD TARGET [KEY]
//
// TARGET is the data file (or, for odbc_read, an ODBC connection string); KEY the file's key.
// The result line: "peers-result workload=read cpu=1.234567 wall=1.345678 count=1000000".
// A wrong count, a failed statement or an exception aborts the program with a message.
#pragma once

#include <time.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "common/data.h"

namespace peers {

[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "peers: FAILED: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Require(bool condition, const std::string& what) {
    if (!condition) Fail(what);
}

struct Args {
    std::string workload, target, key;
};

// Process CPU time and wall time between Start and Stop.
class Stopwatch {
public:
    void Start() {
        cpu_ = Now(CLOCK_PROCESS_CPUTIME_ID);
        wall_ = Now(CLOCK_MONOTONIC);
        running_ = true;
    }
    void Stop() {
        Require(running_, "the stopwatch was stopped without being started");
        cpu_ = Now(CLOCK_PROCESS_CPUTIME_ID) - cpu_;
        wall_ = Now(CLOCK_MONOTONIC) - wall_;
        running_ = false;
        stopped_ = true;
    }
    bool Measured() const { return stopped_; }
    double CpuSeconds() const { return cpu_; }
    double WallSeconds() const { return wall_; }

private:
    static double Now(clockid_t clock) {
        timespec t{};
        clock_gettime(clock, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    double cpu_ = 0, wall_ = 0;
    bool running_ = false, stopped_ = false;
};

// A workload runs the stopwatch around its work and gives the count it reached, checked
// against the workload's size.
using Workload = std::function<size_t(const Args&, Stopwatch&)>;
using Workloads = std::initializer_list<std::pair<std::string_view, Workload>>;

inline int Main(int argc, char** argv, Workloads workloads) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WORKLOAD TARGET [KEY]\n", argv[0]);
        return 2;
    }
    const Args args{argv[1], argv[2], argc > 3 ? argv[3] : ""};
    for (const auto& [name, run] : workloads) {
        if (name != args.workload) continue;
        Stopwatch watch;
        size_t count = 0;
        try {
            count = run(args, watch);
        } catch (const std::exception& e) {
            Fail(args.workload + ": " + e.what());
        }
        Require(watch.Measured(), args.workload + ": nothing was timed");
        const size_t expected = CountOf(args.workload);
        Require(count == expected,
                args.workload + ": counted " + std::to_string(count) + ", not " + std::to_string(expected));
        std::printf("peers-result workload=%s cpu=%.6f wall=%.6f count=%zu\n", args.workload.c_str(),
                    watch.CpuSeconds(), watch.WallSeconds(), count);
        return 0;
    }
    std::fprintf(stderr, "%s: no workload named %s\n", argv[0], args.workload.c_str());
    return 2;
}

}  // namespace peers
