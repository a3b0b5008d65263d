#pragma once

namespace veritam {

/// The entries without a window print the program's own messages only: Qt's and the
/// browser engine's diagnostics (sandbox, graphics, platform plug-in) would bury them
/// in a log or a mail from a timer. `VERITAM_DEBUG` in the environment keeps them.
/// Called before the application object and the engine exist.
void quietEngineDiagnostics();

} // namespace veritam
