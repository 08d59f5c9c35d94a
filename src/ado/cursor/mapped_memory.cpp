#include "ado/cursor/mapped_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace ado::cursor::mapped {

namespace {

constexpr size_t kPage = size_t{4} << 10;
constexpr size_t kHugePage = size_t{2} << 20;
std::atomic<size_t> inUse{0};

// Mappings released lately, kept for the next buffers. A fresh mapping's pages are faulted in
// and zeroed at first touch, which costs more than the rows written to them when results of
// the same size are read again and again (the heap reuses its warm memory the same way).
class Reserve {
public:
    // A kept mapping of at least `length` bytes (grown when none is that long), or null;
    // `length` becomes its length. The best fit is taken whole, its pages already faulted in,
    // so that a buffer growing from it does not fault in fresh ones; only one far longer than
    // asked is trimmed, so that a small buffer does not hold it.
    void* Take(size_t& length) {
        std::pair<void*, size_t> kept;
        {
            std::lock_guard lock(mutex_);
            if (kept_.empty()) return nullptr;
            size_t best = 0;
            for (size_t i = 1; i < kept_.size(); ++i)
                if (Better(kept_[i].second, kept_[best].second, length)) best = i;
            kept = kept_[best];
            kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(best));
            bytes_ -= kept.second;
        }
        auto [p, have] = kept;
        if (have > kLongestTaken * length) {
            munmap(static_cast<char*>(p) + length, have - length);
        } else if (have < length) {
            p = mremap(p, have, length, MREMAP_MAYMOVE);
            if (p == MAP_FAILED) {
                munmap(kept.first, have);
                return nullptr;
            }
        } else {
            length = have;
        }
        return p;
    }
    // Keeps the mapping, letting the oldest go beyond the budget.
    void Keep(void* p, size_t length) {
        std::vector<std::pair<void*, size_t>> dropped;
        {
            std::lock_guard lock(mutex_);
            kept_.emplace_back(p, length);
            bytes_ += length;
            while (kept_.size() > kMappings || bytes_ > kBytes) {
                dropped.push_back(kept_.front());
                bytes_ -= kept_.front().second;
                kept_.erase(kept_.begin());
            }
        }
        for (auto [q, n] : dropped) munmap(q, n);
    }

private:
    // Whether a kept mapping of `a` bytes serves a request of `length` better than one of `b`:
    // the shortest that is long enough, else the longest.
    static bool Better(size_t a, size_t b, size_t length) {
        if ((a >= length) != (b >= length)) return a >= length;
        return a >= length ? a < b : a > b;
    }

    static constexpr size_t kLongestTaken = 2;  // times the length asked for: one doubling
    static constexpr size_t kMappings = 32;
    static constexpr size_t kBytes = size_t{128} << 20;
    std::mutex mutex_;
    std::vector<std::pair<void*, size_t>> kept_;  // oldest first
    size_t bytes_ = 0;
};

Reserve& Kept() {
    static Reserve* reserve = new Reserve;  // never destroyed: buffers may be released at exit
    return *reserve;
}

}  // namespace

size_t LengthFor(size_t bytes) {
    const size_t unit = bytes >= kHugeFrom ? kHugePage : kPage;
    return (bytes + unit - 1) / unit * unit;
}

void* Grow(void* old, size_t oldBytes, size_t used, size_t& bytes) {
    size_t length = LengthFor(bytes);
    const bool wasMapped = old && oldBytes >= kThreshold;
    void* p = nullptr;
    if (wasMapped) {
        p = mremap(old, LengthFor(oldBytes), length, MREMAP_MAYMOVE);
    } else {
        p = Kept().Take(length);
        if (!p) p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    }
    if (p == MAP_FAILED) throw std::bad_alloc();
    // Advice only: without transparent huge pages, or on a kernel that cannot populate
    // (before Linux 5.14), the buffer works the same. Given before the first touch, so that
    // the copy and the populating fault in huge pages.
    if (length >= kHugeFrom) madvise(p, length, MADV_HUGEPAGE);
    if (!wasMapped) {
        if (used) std::memcpy(p, old, used);
        std::free(old);
    }
    // Small pages are faulted in at once; a huge page faults in 2 MiB at a time anyway, and
    // a long buffer's room is left untouched until it is used.
    if (length < kHugeFrom) {
        const size_t touched = used / kPage * kPage;
        madvise(static_cast<char*>(p) + touched, length - touched, MADV_POPULATE_WRITE);
    }
    inUse += length - (wasMapped ? LengthFor(oldBytes) : 0);
    bytes = length;
    return p;
}

void Release(void* p, size_t bytes) {
    if (!p) return;
    Kept().Keep(p, LengthFor(bytes));
    inUse -= LengthFor(bytes);
}

size_t BytesInUse() { return inUse; }

}  // namespace ado::cursor::mapped
