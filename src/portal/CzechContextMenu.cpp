#include "portal/CzechContextMenu.h"

#include <QMenu>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace veritam::CzechContextMenu {

QMenu* menuFor(QWebEngineView& view) {
    auto* menu = new QMenu(&view);
    const auto add = [&](const char* caption, QWebEnginePage::WebAction action, bool enabled) {
        QAction* item = menu->addAction(QString::fromUtf8(caption));
        item->setEnabled(enabled);
        QObject::connect(item, &QAction::triggered, &view,
                         [&view, action] { view.page()->triggerAction(action); });
    };
    add("Zpět", QWebEnginePage::Back, view.history()->canGoBack());
    add("Vpřed", QWebEnginePage::Forward, view.history()->canGoForward());
    add("Obnovit", QWebEnginePage::Reload, true);
    menu->addSeparator();
    add("Kopírovat", QWebEnginePage::Copy, view.hasSelection());
    return menu;
}

void install(QWebEngineView& view) {
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&view, &QWidget::customContextMenuRequested, &view,
                     [&view](const QPoint& position) {
                         QMenu* menu = menuFor(view);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(view.mapToGlobal(position));
                     });
}

} // namespace veritam::CzechContextMenu
