// A growable array of trivially copyable elements: small ones on the heap (realloc), large
// ones in a mapping of their own that grows without copying (see mapped_memory.h), which is
// what a row store filled a row at a time would otherwise pay at every doubling.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "ado/cursor/mapped_memory.h"

namespace ado::cursor {

template <class T>
class PodBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodBuffer() = default;
    PodBuffer(const PodBuffer& other) { Append(other.data_, other.size_); }
    PodBuffer(PodBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    PodBuffer& operator=(PodBuffer other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        return *this;
    }
    ~PodBuffer() {
        if (Mapped(capacity_))
            mapped::Release(data_, capacity_ * sizeof(T));
        else
            std::free(data_);
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

    // A new element, value-initialised (zero).
    T& EmplaceBack() {
        if (size_ == capacity_) Grow(size_ + 1);
        T* e = data_ + size_++;
        std::memset(static_cast<void*>(e), 0, sizeof(T));
        return *e;
    }
    void PushBack(T v) {  // by value: `v` may be an element of this buffer
        if (size_ == capacity_) Grow(size_ + 1);
        data_[size_++] = v;
    }
    // `p` may point into this buffer.
    void Append(const T* p, size_t n) {
        if (n == 0) return;
        if (size_ + n > capacity_) {
            const bool inside = p >= data_ && p < data_ + size_;
            const size_t at = inside ? static_cast<size_t>(p - data_) : 0;
            Grow(size_ + n);
            if (inside) p = data_ + at;
        }
        std::memcpy(static_cast<void*>(data_ + size_), p, n * sizeof(T));
        size_ += n;
    }
    // Room for `n` more elements at the end, left as they are: the caller writes them.
    // Pointers into the buffer are invalid afterwards.
    T* Extend(size_t n) {
        if (size_ + n > capacity_) Grow(size_ + n);
        T* at = data_ + size_;
        size_ += n;
        return at;
    }
    void Reserve(size_t n) {
        if (n > capacity_) Reallocate(n);
    }
    // Exactly `n` copies of `value`.
    void AssignFilled(size_t n, T value) {
        size_ = 0;
        Reserve(n);
        std::fill_n(data_, n, value);
        size_ = n;
    }
    void Clear() { size_ = 0; }
    // Gives back the capacity beyond the size when that is worth a reallocation (64 KiB);
    // an empty buffer keeps its memory.
    void ShrinkToFit() {
        if (size_ == 0 || (capacity_ - size_) * sizeof(T) < (size_t{64} << 10)) return;
        if (Mapped(capacity_) && !Mapped(size_)) {
            T* p = static_cast<T*>(std::malloc(size_ * sizeof(T)));
            if (!p) throw std::bad_alloc();
            std::memcpy(static_cast<void*>(p), data_, size_ * sizeof(T));
            mapped::Release(data_, capacity_ * sizeof(T));
            data_ = p;
            capacity_ = size_;
        } else {
            Reallocate(size_);
        }
    }

private:
    void Grow(size_t needed) { Reallocate(std::max(needed, capacity_ < 16 ? 16 : capacity_ * 2)); }
    static bool Mapped(size_t capacity) { return capacity * sizeof(T) >= mapped::kThreshold; }
    void Reallocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T) / 2) throw std::bad_alloc();
        void* p = nullptr;
        if (Mapped(n)) {
            size_t bytes = n * sizeof(T);
            p = mapped::Grow(data_, capacity_ * sizeof(T), size_ * sizeof(T), bytes);
            n = bytes / sizeof(T);  // the whole mapping
        } else {
            p = std::realloc(static_cast<void*>(data_), n * sizeof(T));
            if (!p) throw std::bad_alloc();
        }
        data_ = static_cast<T*>(p);
        capacity_ = n;
    }

    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace ado::cursor
