#pragma once

namespace veritam {

class CommandLine;

/// `veritam --autoload --headless [--files DIR]`: the full check run with no window shown.
/// Prints the run-log lines as they come and then the change-summary lines to standard
/// output, messages to standard error. Exit status 0 when no change was recorded, 1 when at
/// least one was, 2 when the run could not start.
int runHeadless(const CommandLine& commandLine);

} // namespace veritam
