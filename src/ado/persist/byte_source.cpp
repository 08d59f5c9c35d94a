#include "ado/persist/byte_source.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "ado/error_numbers.h"

namespace ado::persist {

namespace {
constexpr size_t kChunk = size_t{1} << 20;
}

ByteSource ByteSource::OpenFile(const std::string& path) {
    ByteSource s;
    s.name_ = path;
    s.file_ = std::fopen(path.c_str(), "rb");
    struct stat st {};
    if (!s.file_ || fstat(fileno(s.file_), &st) != 0 || !S_ISREG(st.st_mode))
        Raise(Condition::InvalidFile, "(no se puede leer el archivo '" + path + "': " +
                                          (s.file_ ? "no es un archivo" : std::strerror(errno)) + ")");
    s.size_ = static_cast<uint64_t>(st.st_size);
    s.buffer_.resize(kChunk);
    s.data_ = s.buffer_.data();
    return s;
}

ByteSource::ByteSource(std::span<const uint8_t> bytes, std::string name)
    : name_(std::move(name)), data_(bytes.data()), length_(bytes.size()), size_(bytes.size()) {}

ByteSource::ByteSource(ByteSource&& o) noexcept
    : name_(std::move(o.name_)),
      file_(std::exchange(o.file_, nullptr)),
      buffer_(std::move(o.buffer_)),
      data_(file_ ? buffer_.data() : o.data_),
      length_(o.length_),
      pos_(o.pos_),
      consumed_(o.consumed_),
      size_(o.size_) {}

ByteSource::~ByteSource() {
    if (file_) std::fclose(file_);
}

bool ByteSource::Fill(size_t n) {
    if (length_ - pos_ >= n) return true;
    if (!file_ || n > Remaining()) return false;
    // Keep the bytes not taken yet at the front, then read behind them.
    const size_t kept = length_ - pos_;
    if (n > buffer_.size()) buffer_.resize(std::max(n, buffer_.size() * 2));
    std::memmove(buffer_.data(), buffer_.data() + pos_, kept);
    consumed_ += pos_;
    pos_ = 0;
    length_ = kept;
    data_ = buffer_.data();
    while (length_ < n) {
        const size_t got = std::fread(buffer_.data() + length_, 1, buffer_.size() - length_, file_);
        if (got == 0)
            Raise(Condition::InvalidFile, "(error al leer el archivo '" + name_ + "')");
        length_ += got;
    }
    return true;
}

const uint8_t* ByteSource::Take(size_t n) {
    if (!Fill(n)) return nullptr;
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

int ByteSource::Peek() {
    if (!Fill(1)) return -1;
    return data_[pos_];
}

std::span<const uint8_t> ByteSource::TakeSome(size_t max) {
    if (length_ == pos_ && (Remaining() == 0 || !Fill(1))) return {};
    const size_t n = std::min(max, length_ - pos_);
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return {p, n};
}

void ByteSource::FailAt(uint64_t at, std::string_view what) const {
    char offset[24];
    std::snprintf(offset, sizeof offset, "0x%llX", static_cast<unsigned long long>(at));
    Raise(Condition::InvalidFile, "(archivo '" + name_ + "', desplazamiento " + offset + ": " + std::string(what) + ")");
}

}  // namespace ado::persist
