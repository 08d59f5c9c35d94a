#include "progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "idioma.h"

namespace tool {

namespace {

bool OnTerminal() {
    const char* term = std::getenv("TERM");
    return isatty(STDERR_FILENO) && !(term && std::strcmp(term, "dumb") == 0);
}

}  // namespace

Progress::Progress(std::string what) : what_(std::move(what)) {
    if (OnTerminal()) thread_ = std::thread([this] { Run(); });
}

Progress::~Progress() { Done(); }

void Progress::Done() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Progress::Run() {
    using namespace std::chrono;
    const auto start = steady_clock::now();
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, seconds(1), [this] { return stop_; })) return;
    do {
        const auto elapsed = duration_cast<seconds>(steady_clock::now() - start).count();
        const int64_t done = done_.load(std::memory_order_relaxed);
        const int64_t total = total_.load(std::memory_order_relaxed);
        const double span = duration<double>(steady_clock::now() - start).count();
        std::string line;
        if (done >= 0 && total >= 0)
            line = F("{0}: {1} de {2} filas, {3} filas/s, {4} s", what_, done, total,
                     static_cast<int64_t>(static_cast<double>(done) / span), elapsed);
        else if (done >= 0)
            line = F("{0}: {1} filas, {2} s", what_, done, elapsed);
        else
            line = F("{0}: {1} s", what_, elapsed);
        std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
        std::fflush(stderr);
    } while (!wake_.wait_for(lock, milliseconds(250), [this] { return stop_; }));
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
}

}  // namespace tool
