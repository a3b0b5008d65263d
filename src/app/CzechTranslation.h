#pragma once

namespace veritam {

/// Qt's own texts in Czech: standard buttons ("Ano", "Ne", "Zrušit"), the file dialogs,
/// the edits' context menus. Locale and translation both; after the application object
/// exists. False when Qt's Czech translation is not installed (qt6-translations-l10n).
bool installCzechTranslation();

} // namespace veritam
