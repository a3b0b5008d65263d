#pragma once

#include <QString>

class QWidget;

namespace veritam {

class TDM1;

/// Filling the territory, municipality and part code lists from inside the application.
namespace CodeListSetup {

/// True when the lookup tables hold no territory.
bool codeListsEmpty(TDM1& dm);

/// Asks whether to download the code lists or import them from a folder, and does it.
/// `update`: the lists are there and may be renewed (the menu item), else they are missing
/// (the first start).
void offer(QWidget* parent, TDM1& dm, bool update = false);

/// Downloads the four archives with a progress dialog and installs them. True on success;
/// every failure is shown and leaves the previous code lists in place.
bool download(QWidget* parent, TDM1& dm);

/// Lets the user pick a folder with the four CSV files and installs them.
bool importFromFolder(QWidget* parent, TDM1& dm);

} // namespace CodeListSetup
} // namespace veritam
