#pragma once

namespace veritam {

class CommandLine;

/// `veritam --import-records FILE [--files DIR]`: imports a CSV list of watched objects with
/// no window shown, one line per row and a total on standard output. Exit status: 0 every
/// row was saved with its baseline, 1 some rows were refused or have no baseline, 2 the
/// import could not start (database, file, header; nothing saved), 3 the portal refused and
/// was asked no more (3 wins over 1).
int importRecords(const CommandLine& commandLine);

} // namespace veritam
