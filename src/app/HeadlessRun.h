#pragma once

namespace veritam {

class CommandLine;

/// `veritam --autoload --headless [--files DIR]`: the full check run with no window shown.
/// Prints the run-log lines as they come and then the change-summary lines to standard
/// output, messages to standard error. Exit status: 0 every watched record was checked and
/// nothing changed (records that failed are counted on standard error), 1 at least one
/// change was recorded, 2 the run could not start (database), 3 the portal refused and the
/// run ended early or checked nothing (3 wins over 1), 4 a change (or the database at all)
/// could not be recorded (4 wins over 1 and 3).
int runHeadless(const CommandLine& commandLine);

} // namespace veritam
