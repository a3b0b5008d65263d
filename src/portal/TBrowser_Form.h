#pragma once

#include "portal/PortalBrowser.h"

#include <QMainWindow>

class QWebEngineProfile;
class QWebEngineView;

namespace veritam {

class UserMessages;

/// The portal browser window: the one browser `WB` every portal operation uses. The check
/// runs drive it hidden; the user browses in it when it is shown.
class TBrowser_Form : public QMainWindow {
    Q_OBJECT
public:
    /// The portal's addresses are read from the settings file of `dataFolder`.
    TBrowser_Form(UserMessages& messages, const QString& dataFolder, QWidget* parent = nullptr);
    ~TBrowser_Form() override;

    QWebEngineView* WB = nullptr;
    PortalBrowser& browser() { return *m_browser; }

    /// The document-complete handler: pages of the authority's domain set the flag and
    /// are tidied; a failed one ends the wait with an error; others are ignored.
    /// `failure` is empty for a page that loaded.
    void WBDocumentComplete(const QUrl& url, const QString& failure, int httpStatus);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QWebEngineProfile* m_profile = nullptr;
    PortalBrowser* m_browser = nullptr;
};

} // namespace veritam
