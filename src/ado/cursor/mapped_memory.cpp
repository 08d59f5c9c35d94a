#include "ado/cursor/mapped_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace ado::cursor::mapped {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
std::atomic<size_t> inUse{0};

}  // namespace

size_t LengthFor(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

void* Grow(void* old, size_t oldBytes, size_t used, size_t bytes) {
    const size_t length = LengthFor(bytes);
    void* p = nullptr;
    if (old && oldBytes >= kThreshold) {
        p = mremap(old, LengthFor(oldBytes), length, MREMAP_MAYMOVE);
    } else {
        p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED && used) std::memcpy(p, old, used);
        if (p != MAP_FAILED) std::free(old);
    }
    if (p == MAP_FAILED) throw std::bad_alloc();
    inUse += length - (old && oldBytes >= kThreshold ? LengthFor(oldBytes) : 0);
    // Advice only: without transparent huge pages the buffer works the same.
    madvise(p, length, MADV_HUGEPAGE);
    return p;
}

void Release(void* p, size_t bytes) {
    if (!p) return;
    munmap(p, LengthFor(bytes));
    inUse -= LengthFor(bytes);
}

size_t BytesInUse() { return inUse; }

}  // namespace ado::cursor::mapped
