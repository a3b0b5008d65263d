#pragma once

class QMenu;
class QWebEngineView;

namespace veritam {

/// The context menu of the portal window's and the history's browsers: only what makes sense
/// on a portal page or a snapshot, in Czech — Zpět, Vpřed, Obnovit, Kopírovat.
namespace CzechContextMenu {

/// The menu for the view's state now (Zpět only with a page to go back to, Kopírovat only
/// with a selection); the caller owns it.
QMenu* menuFor(QWebEngineView& view);

/// Shows that menu instead of the engine's own, English one.
void install(QWebEngineView& view);

} // namespace CzechContextMenu
} // namespace veritam
