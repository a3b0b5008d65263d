#pragma once

#include <optional>

namespace veritam {

class CommandLine;

/// The entries that work without a display.
namespace ConsoleCommands {

/// True when the command line asks for one of them (help, version, code-list import,
/// section extraction).
bool wanted(const CommandLine& commandLine);

/// Runs it and returns the process's exit status.
int run(const CommandLine& commandLine);

/// Status 2, after a message on standard error, when the parameters cannot be used: a
/// parameter the program does not know (the usage follows), or a `files` folder that
/// does not exist given to an entry without a window, which must not quietly work on
/// the default folder instead. Nothing when they can.
std::optional<int> refuseParameters(const CommandLine& commandLine);

} // namespace ConsoleCommands
} // namespace veritam
