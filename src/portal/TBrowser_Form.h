#pragma once

#include "portal/PortalBrowser.h"

#include <QMainWindow>

class QAction;
class QWebEngineProfile;
class QWebEngineView;

namespace veritam {

class UserMessages;
enum class RecordKind;

/// The portal browser window: the one browser `WB` every portal operation uses. The check
/// runs drive it hidden; the user browses in it when it is shown.
class TBrowser_Form : public QMainWindow {
    Q_OBJECT
public:
    /// The portal's addresses are read from the settings file of `dataFolder`.
    TBrowser_Form(UserMessages& messages, const QString& dataFolder, QWidget* parent = nullptr);
    ~TBrowser_Form() override;

    QWebEngineView* WB = nullptr;
    QAction* Pidatzznam1 = nullptr;    ///< "Uložit parcelu"
    QAction* Pidatstavbu1 = nullptr;   ///< "Uložit stavbu"
    QAction* Pidatjednotku1 = nullptr; ///< "Uložit jednotku"
    PortalBrowser& browser() { return *m_browser; }

    /// The document-complete handler: pages of the authority's domain set the flag and
    /// are tidied; a failed one ends the wait with an error; others are ignored.
    /// `failure` is empty for a page that loaded.
    void WBDocumentComplete(const QUrl& url, const QString& failure, int httpStatus,
                            bool unreachable);

signals:
    /// One of the "Uložit" items: the page shown is to become a new record of this kind.
    /// Whoever owns the record editor carries it out; the window knows no editor.
    void captureRequested(veritam::RecordKind kind);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QWebEngineProfile* m_profile = nullptr;
    PortalBrowser* m_browser = nullptr;
};

} // namespace veritam
