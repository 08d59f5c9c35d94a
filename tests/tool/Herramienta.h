// Running the built tool as a user runs it.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace herramienta {

// What the command prints on standard output and standard error, and its exit status.
inline std::string Quimera(const std::string& arguments) {
    const std::string command = std::string(BREZAL_BINARY_DIR) + "/tools/quimera/quimera " + arguments + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buffer;
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get())) out.append(buffer.data(), n);
    const int status = pclose(pipe.release());
    return out + "[" + std::to_string(WEXITSTATUS(status)) + "]";
}

// A text as one argument of the shell, whatever it holds.
inline std::string Quoted(const std::string& s) {
    std::string quoted = "'";
    for (char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace herramienta
