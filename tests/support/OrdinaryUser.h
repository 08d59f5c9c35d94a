// Runs a piece of a test as an ordinary user (nobody) in a child process: as root every file
// may be read and written, whatever its mode says.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace testsupport {

// What f returns when run by nobody; "setuid" when the child could not become nobody.
inline std::string AsOrdinaryUser(const std::function<std::string()>& f) {
    if (::getuid() != 0) return f();
    int pipe[2];
    if (::pipe(pipe) != 0) return "pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        std::string result = "setuid";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) result = f();
        (void)!::write(pipe[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

}  // namespace testsupport
