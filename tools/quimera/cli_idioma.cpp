#include "cli_idioma.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <iostream>

#include <fmt/args.h>

#include "idioma.h"

namespace tool {

namespace {

// CLI11's help labels and what the user reads in their place.
constexpr std::array<std::pair<const char*, const char*>, 14> kLabels = {{
    {"Usage", N_("Uso")},
    {"OPTIONS", N_("OPCIONES")},
    {"Positionals", N_("Argumentos")},
    {"SUBCOMMAND", N_("ORDEN")},
    {"SUBCOMMANDS", N_("ÓRDENES")},
    {"REQUIRED", N_("OBLIGATORIO")},
    {"TEXT", N_("TEXTO")},
    {"INT", N_("ENTERO")},
    {"UINT", N_("ENTERO")},
    {"FLOAT", N_("NÚMERO")},
    {"Needs", N_("Necesita")},
    {"Excludes", N_("Excluye")},
    {"Env", N_("Variable")},
    {"BOOLEAN", N_("BOOLEANO")},
}};

// CLI11's parse error messages (as its version 2.1 writes them) and their translations. In a
// pattern, each "{}" takes the shortest text that lets the rest match (the last one takes the
// rest) and fills {0}, {1}, ... of the translation. First match wins.
struct ErrorText {
    const char* english;
    const char* spanish;
};
constexpr std::array<ErrorText, 13> kErrors = {{
    {"A subcommand is required", N_("falta la orden (ejecute «quimera --help» para ver la lista)")},
    {"Requires at least {} subcommands", N_("faltan órdenes: se necesitan al menos {0}")},
    {"The following argument was not expected: {}", N_("argumentos de más: {0}")},
    {"The following arguments were not expected: {}", N_("argumentos de más: {0}")},
    {"Exactly 1 option from [{}]{}", N_("hace falta exactamente una de estas opciones: {0}")},
    {"At least 1 option from [{}]{}", N_("hace falta al menos una de estas opciones: {0}")},
    {"Requires at most 1 options be given from [{}]", N_("sobra una de estas opciones: {0}")},
    {"{} is required", N_("falta {0}")},
    {"{} requires {}", N_("{0} necesita {1}")},
    {"{} excludes {}", N_("{0} no admite {1}")},
    {"{}: {} required {} missing", N_("{0}: falta su valor ({2})")},
    {"Could not convert: {} = {}", N_("valor no válido para {0}: {1}")},
    {"{} not found", N_("{0}: opción desconocida")},
}};

// Matches text against a pattern of literal pieces and "{}" holes; fills the holes' texts.
bool MatchPattern(std::string_view pattern, std::string_view text, std::vector<std::string>& holes) {
    holes.clear();
    size_t p = 0, t = 0;
    for (;;) {
        const size_t hole = pattern.find("{}", p);
        const std::string_view literal = pattern.substr(p, hole == std::string_view::npos ? hole : hole - p);
        if (text.substr(t, literal.size()) != literal) return false;
        t += literal.size();
        if (hole == std::string_view::npos) return t == text.size();
        p = hole + 2;
        const size_t next = pattern.find("{}", p);
        const std::string_view after = pattern.substr(p, next == std::string_view::npos ? next : next - p);
        if (after.empty()) {  // last hole, or two holes in a row: it takes the rest
            holes.emplace_back(text.substr(t));
            t = text.size();
            continue;
        }
        const size_t end = next == std::string_view::npos ? text.size() - std::min(text.size(), after.size())
                                                          : text.find(after, t);
        if (end == std::string_view::npos || end < t || (next == std::string_view::npos && text.substr(end) != after))
            return false;
        holes.emplace_back(text.substr(t, end - t));
        t = end;
    }
}

// Levenshtein distance: edits that turn a into b.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

void Localise(CLI::App& app, const std::string& version) {
    auto formatter = std::make_shared<CLI::Formatter>();
    for (const auto& [key, text] : kLabels) formatter->label(key, T(text));
    app.formatter(formatter);
    app.option_defaults()->group(T("Opciones"));
    app.set_help_flag("-h,--help", T("Muestra esta ayuda y termina"));
    app.set_version_flag("--version", version, T("Muestra la versión y termina"));
}

void LocaliseSubcommands(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        sub->group(T("Órdenes"));
        if (CLI::Option* help = sub->get_help_ptr()) help->group(T("Opciones"));
        // A value's type before a validator's description ("TEXT:{a,b}") is no label the
        // formatter knows: name it in the user's language here.
        for (CLI::Option* option : sub->get_options()) {
            const std::string typeName = option->get_type_name();
            const std::string type = typeName.substr(0, typeName.find(':'));
            const auto label = std::find_if(kLabels.begin(), kLabels.end(),
                                            [&](const auto& entry) { return type == entry.first; });
            if (label != kLabels.end() && type != typeName) option->type_name(T(label->second));
        }
    }
}

CLI::Validator OneOf(std::vector<std::string> names) {
    const std::string list = fmt::format("{}", fmt::join(names, ", "));
    return CLI::Validator(
        [names, list](std::string& value) {
            return std::find(names.begin(), names.end(), value) != names.end()
                       ? std::string()
                       : F("«{0}» no es ninguno de: {1}", value, list);
        },
        "{" + fmt::format("{}", fmt::join(names, ",")) + "}");
}

CLI::Validator Count() {
    return CLI::Validator(
        [](std::string& value) {
            const bool digits = !value.empty() && value.size() < 19 &&
                                std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
            return digits ? std::string() : F("«{0}» no es un número entero de 0 o más", value);
        },
        "N");
}

std::string TranslateParseError(const CLI::ParseError& e) {
    const std::string message = e.what();
    std::vector<std::string> holes;
    for (const ErrorText& entry : kErrors) {
        if (!MatchPattern(entry.english, message, holes)) continue;
        fmt::dynamic_format_arg_store<fmt::format_context> values;
        for (const std::string& hole : holes) values.push_back(hole);
        return fmt::vformat(T(entry.spanish), values);
    }
    return message;  // one of ours (a validator's), already in the user's language
}

int ReportParseError(const CLI::App& app, const CLI::ParseError& e) {
    if (dynamic_cast<const CLI::CallForHelp*>(&e) || dynamic_cast<const CLI::CallForAllHelp*>(&e)) {
        std::cout << app.help();
        return 0;
    }
    if (dynamic_cast<const CLI::CallForVersion*>(&e)) {
        std::cout << e.what() << '\n';
        return 0;
    }
    std::cerr << "quimera: " << TranslateParseError(e) << '\n';
    return 2;
}

std::optional<std::string> Nearest(const std::string& word, const std::vector<std::string>& names) {
    std::optional<std::string> best;
    size_t bestDistance = std::max<size_t>(2, word.size() / 3) + 1;
    for (const std::string& name : names) {
        const size_t d = Distance(word, name);
        if (d < bestDistance) best = name, bestDistance = d;
    }
    return best;
}

std::optional<int> CheckSubcommand(const CLI::App& app, int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return std::nullopt;
    const std::string word = argv[1];
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(sub->get_name());
    if (std::find(names.begin(), names.end(), word) != names.end()) return std::nullopt;
    if (const auto nearest = Nearest(word, names))
        std::cerr << "quimera: " << F("orden desconocida «{0}»; ¿quería decir «{1}»?", word, *nearest) << '\n';
    else
        std::cerr << "quimera: " << F("orden desconocida «{0}»; las órdenes son: {1}", word, fmt::join(names, ", "))
                  << '\n';
    return 2;
}

}  // namespace tool
