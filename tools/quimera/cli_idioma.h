// CLI11 in the user's language: its help through a formatter with translated labels, its
// parse errors through a table of its English messages, and a misspelt subcommand answered
// with the nearest one.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tool {

// Translated labels, help and version flags, and option groups; call before adding any
// subcommand, which inherits them.
void Localise(CLI::App& app, const std::string& version);
// Names the group of every subcommand added so far, after they are all added.
void LocaliseSubcommands(CLI::App& app);

// Validators whose refusals are in the user's language: one of the names; a whole number
// of 0 or more.
CLI::Validator OneOf(std::vector<std::string> names);
CLI::Validator Count();

// The text of a parse error in the user's language (CLI11 writes English).
std::string TranslateParseError(const CLI::ParseError& e);

// Prints what a parse error calls for (help, version or the error) and gives the exit status.
int ReportParseError(const CLI::App& app, const CLI::ParseError& e);

// The name closest to `word` when it is near enough to be a slip of the keyboard.
std::optional<std::string> Nearest(const std::string& word, const std::vector<std::string>& names);

// When the first argument names no subcommand, prints the error (with the nearest name) and
// gives the exit status; nothing when it does.
std::optional<int> CheckSubcommand(const CLI::App& app, int argc, char** argv);

}  // namespace tool
