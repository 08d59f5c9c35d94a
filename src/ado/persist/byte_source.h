// The bytes of a recordset file, read a piece at a time (a large file is never held whole),
// or a block already in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ado::persist {

class ByteSource {
public:
    // Opens the file; fails with InvalidFile naming it when it cannot be read.
    static ByteSource OpenFile(const std::string& path);
    ByteSource(std::span<const uint8_t> bytes, std::string name);
    ~ByteSource();
    ByteSource(ByteSource&& other) noexcept;
    ByteSource& operator=(ByteSource&&) = delete;

    const std::string& Name() const { return name_; }
    uint64_t Offset() const { return consumed_ + pos_; }
    uint64_t Remaining() const { return size_ - Offset(); }
    // The next `n` bytes, contiguous, and the position moved past them; null when fewer remain.
    const uint8_t* Take(size_t n);
    // The next byte without taking it; -1 at the end.
    int Peek();
    // Up to `max` bytes, at least one unless at the end.
    std::span<const uint8_t> TakeSome(size_t max);
    // Fails with InvalidFile naming the file and the offset of the next byte.
    [[noreturn]] void Fail(std::string_view what) const { FailAt(Offset(), what); }
    [[noreturn]] void FailAt(uint64_t offset, std::string_view what) const;
    // The next `n` bytes, or the failure of a file that ends too soon.
    const uint8_t* Need(size_t n) {
        const uint8_t* p = Take(n);
        if (!p) Fail("el archivo termina antes de tiempo");
        return p;
    }

private:
    ByteSource() = default;
    bool Fill(size_t n);  // makes `n` bytes available from pos_

    std::string name_;
    std::FILE* file_ = nullptr;
    std::vector<uint8_t> buffer_;
    const uint8_t* data_ = nullptr;  // the bytes in hand
    size_t length_ = 0;              // how many there are
    size_t pos_ = 0;                 // the next one
    uint64_t consumed_ = 0;          // bytes before data_[0]
    uint64_t size_ = 0;
};

}  // namespace ado::persist
