#pragma once

#include "portal/PortalSession.h"

namespace veritam {

class TBrowser_Form;

/// The portal session on the embedded browser of the portal browser window: the login and
/// the search drivers in its browser, each lookup's page recognised before anyone reads it.
/// The window is shown and hidden once at every login, so that its browser is ready.
class BrowserSession : public PortalSession {
public:
    BrowserSession(TBrowser_Form& form, QString dataFolder);

    /// Reads the portal's settings anew, then logs in.
    LoginOutcome login() override;
    PortalPage lookup(RecordKind kind, const QStringList& values) override;
    void interrupt() override;
    /// Shows the portal window and leaves the record's page in it.
    void showObject(RecordKind kind, const QStringList& values) override;
    bool loggedIn() const override { return m_loggedIn; }

private:
    void search(RecordKind kind, const QStringList& values);

    TBrowser_Form& m_form;
    QString m_dataFolder;
    bool m_loggedIn = false;
};

} // namespace veritam
