#pragma once

#include "portal/PortalSession.h"

#include <functional>

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
    PortalPage lookup(const WatchedRecord& record) override;
    void interrupt() override;
    /// Shows the portal window and leaves the record's page in it.
    void showObject(const WatchedRecord& record) override;
    bool loggedIn() const override { return m_loggedIn; }
    /// Runs once, before the first login or shown page of the process: the notice about the
    /// portal's terms.
    void setBeforeFirstUse(std::function<void()> beforeFirstUse) {
        m_beforeFirstUse = std::move(beforeFirstUse);
    }

private:
    void search(const WatchedRecord& record);
    void firstUse();

    TBrowser_Form& m_form;
    QString m_dataFolder;
    bool m_loggedIn = false;
    std::function<void()> m_beforeFirstUse;
};

} // namespace veritam
