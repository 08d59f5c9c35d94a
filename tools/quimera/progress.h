// A progress line for long work: on standard error, only when it is a terminal, from the
// first second on, redrawn four times a second (what is going on, how many items when
// counted, out of how many and how fast when the total is known, the seconds so far) and
// wiped when the work ends.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace tool {

class Progress {
public:
    explicit Progress(std::string what);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Ends the line (before the work's own output); the destructor does it too.
    void Done();
    // Items done so far (rows, records), shown from now on.
    void Count(int64_t done) { done_.store(done, std::memory_order_relaxed); }
    // How many items there are: the line then shows "done of total" and the rate.
    void Total(int64_t total) { total_.store(total, std::memory_order_relaxed); }

private:
    void Run();

    std::string what_;
    std::atomic<int64_t> done_{-1};
    std::atomic<int64_t> total_{-1};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace tool
