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

constexpr size_t kHugePage = size_t{2} << 20;
std::atomic<size_t> inUse{0};

// Mappings released lately, kept for the next buffers. A fresh mapping's pages are faulted in
// and zeroed at first touch, which costs more than the rows written to them when results of
// the same size are read again and again (the heap reuses its warm memory the same way).
class Reserve {
public:
    // A mapping of exactly `length` bytes from the kept ones (trimmed or grown), or null.
    void* Take(size_t length) {
        std::pair<void*, size_t> kept;
        {
            std::lock_guard lock(mutex_);
            if (kept_.empty()) return nullptr;
            kept = kept_.back();
            kept_.pop_back();
            bytes_ -= kept.second;
        }
        auto [p, have] = kept;
        if (have > length) {
            munmap(static_cast<char*>(p) + length, have - length);
        } else if (have < length) {
            p = mremap(p, have, length, MREMAP_MAYMOVE);
            if (p == MAP_FAILED) {
                munmap(kept.first, have);
                return nullptr;
            }
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
    static constexpr size_t kMappings = 4;
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

size_t LengthFor(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

void* Grow(void* old, size_t oldBytes, size_t used, size_t bytes) {
    const size_t length = LengthFor(bytes);
    const bool wasMapped = old && oldBytes >= kThreshold;
    void* p = nullptr;
    if (wasMapped) {
        p = mremap(old, LengthFor(oldBytes), length, MREMAP_MAYMOVE);
    } else {
        p = Kept().Take(length);
        if (!p) p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED && used) std::memcpy(p, old, used);
        if (p != MAP_FAILED) std::free(old);
    }
    if (p == MAP_FAILED) throw std::bad_alloc();
    inUse += length - (wasMapped ? LengthFor(oldBytes) : 0);
    // Advice only: without transparent huge pages the buffer works the same.
    madvise(p, length, MADV_HUGEPAGE);
    return p;
}

void Release(void* p, size_t bytes) {
    if (!p) return;
    Kept().Keep(p, LengthFor(bytes));
    inUse -= LengthFor(bytes);
}

size_t BytesInUse() { return inUse; }

}  // namespace ado::cursor::mapped
