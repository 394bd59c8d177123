#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qf {

// Runs a command-line subcommand (--dump, --resave). Returns its exit code, or nullopt when the
// arguments name no subcommand. Needs a QGuiApplication for text measuring.
std::optional<int> RunCommandLine(const std::vector<std::string>& args);

// True when the arguments ask for a subcommand, which needs no display.
bool IsSubcommand(const std::vector<std::string>& args);

}  // namespace qf
