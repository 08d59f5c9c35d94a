#include "password_option.h"

#include <CLI/CLI.hpp>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "idioma.h"

namespace tool {

namespace {

// One line from standard input; on a terminal, asked for and read without echo.
std::string AskPassword() {
    std::string line;
    if (!isatty(STDIN_FILENO)) {
        std::getline(std::cin, line);
        return line;
    }
    std::cerr << T("Contraseña: ") << std::flush;
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::getline(std::cin, line);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
    return line;
}

struct Given {
    std::string value;
    std::string variable;
    CLI::Option* option = nullptr;
};

}  // namespace

void AddPasswordOptions(CLI::App& command, std::string& password, const std::string& description) {
    auto given = std::make_shared<Given>();
    given->option = command.add_option("--password", given->value,
                                       description + " " + T("(sin valor, se pregunta sin mostrarla)"))
                        ->expected(0, 1);
    command.add_option("--password-env", given->variable, T("Variable de entorno que guarda la contraseña"))
        ->excludes(given->option);
    command.final_callback([given, &password] {
        if (!given->variable.empty()) {
            const char* value = std::getenv(given->variable.c_str());
            if (!value) throw std::runtime_error(F("la variable de entorno {0} no está definida", given->variable));
            password = value;
        } else if (given->option->count() > 0 && given->value.empty()) {
            password = AskPassword();
        } else {
            password = given->value;
        }
    });
}

}  // namespace tool
