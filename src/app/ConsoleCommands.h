#pragma once

namespace veritam {

class CommandLine;

/// The entries that work without a display.
namespace ConsoleCommands {

/// True when the command line asks for one of them (help, version, code-list import,
/// section extraction).
bool wanted(const CommandLine& commandLine);

/// Runs it and returns the process's exit status.
int run(const CommandLine& commandLine);

} // namespace ConsoleCommands
} // namespace veritam
