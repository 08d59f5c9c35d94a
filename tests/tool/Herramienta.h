// Runs the built quimera tool as a user does, through the shell.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace testsupport {

// The language of a run: the name of a locale (it need not be installed).
inline constexpr const char* kEspanol = "C.UTF-8";
inline constexpr const char* kIngles = "en_US.UTF-8";

// What the command prints on standard output and standard error, and its exit status in
// brackets, run under the locale `lang`. `before` goes in front of the program (variables,
// "printf x |"), `after` after its arguments (redirections).
inline std::string Quimera(const std::string& arguments, const std::string& before = "",
                           const std::string& after = "2>&1", const std::string& lang = kEspanol) {
    const std::string command = before + " env LC_ALL=" + lang + " " + std::string(BREZAL_BINARY_DIR) +
                                "/tools/quimera/quimera " + arguments + " " + after;
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

}  // namespace testsupport
