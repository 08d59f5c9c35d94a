// A file written beside its destination and moved into place only when it is complete and on
// disk, so that a failure, or a process killed while writing, never leaves a half-written
// file at the destination.
#pragma once

#include <string>
#include <string_view>

namespace ado::persist {

class AtomicFile {
public:
    // Creates the temporary file in the destination's folder; fails with FileWrite.
    explicit AtomicFile(std::string destination);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes);
    // Flushes, syncs and moves the file into place. With `replace` false the destination must
    // not exist (58 when it does, decided atomically with the move).
    void Commit(bool replace);

private:
    void Flush();
    [[noreturn]] void Fail(std::string_view what);

    std::string destination_;
    std::string temporary_;
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};

}  // namespace ado::persist
