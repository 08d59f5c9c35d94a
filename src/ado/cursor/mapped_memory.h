// Memory for large buffers: a mapping of its own. Growing it moves its pages (mremap)
// instead of copying them, where the heap would copy the buffer at every doubling (glibc
// serves a buffer from the heap again once a large block has been freed) and so touch every
// page twice. Below 4 MiB the room a growth adds is faulted in at once: a page fault taken
// one page at a time costs far more than the rows written to it (some 10 us under a
// hypervisor), and a buffer that grew is about to be filled. From 4 MiB on a mapping asks for
// huge pages instead, which fault in 2 MiB at a time.
#pragma once

#include <cstddef>

namespace ado::cursor::mapped {

// Buffers of this size and above are mapped.
constexpr size_t kThreshold = size_t{256} << 10;
// Mappings of this length and above are asked to use huge pages.
constexpr size_t kHugeFrom = size_t{4} << 20;

// The length of the mapping that holds `bytes`: whole pages, or whole huge pages from kHugeFrom.
size_t LengthFor(size_t bytes);

// A mapping of at least `bytes` (>= kThreshold) holding the first `used` bytes of `old`:
// `old` is a mapping of `oldBytes` when oldBytes >= kThreshold, else a heap block (or null),
// which is freed. `bytes` becomes the mapping's whole length, which the buffer may use.
// Throws std::bad_alloc.
void* Grow(void* old, size_t oldBytes, size_t used, size_t& bytes);

// Releases a mapping whose buffer held `bytes`. The last few released (up to 128 MB) are kept
// for the next buffers, whose pages are then already faulted in.
void Release(void* p, size_t bytes);

// The bytes mapped now, for measuring what buffers take beside the heap.
size_t BytesInUse();

}  // namespace ado::cursor::mapped
