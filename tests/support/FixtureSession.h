#pragma once

#include "portal/PortalSession.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>

namespace veritam::test {

/// A logged-in visitor's information page of a parcel (area 120) with its owner and, where
/// given, the proceedings under way.
QString informationPage(const QString& owner, const QString& proceedings = {});
/// The header of a page that shows the visitor logged in, or logged out.
QString loggedInHeader();
QString loggedOutHeader();
/// The search form again, with the portal's message: nothing found.
QString notFoundPage();

/// A portal session that serves fixture pages by the record's number (a parcel's cislo_1, a
/// building's cislo_stavby, a unit's "cislo_stavby/cislo_jednotky") and counts what it was
/// asked: the seam through which the logic of a run is tested without a browser.
class FixtureSession : public PortalSession {
public:
    LoginOutcome login() override;
    PortalPage lookup(const WatchedRecord& record) override;
    void interrupt() override { ++interrupts; }
    void showObject(const WatchedRecord& record) override { shown.append(numberOf(record)); }
    bool loggedIn() const override { return m_loggedIn; }

    static QString numberOf(const WatchedRecord& record);

    /// What the logins answer in turn; logged in when none is left.
    std::deque<LoginOutcome> loginOutcomes;
    /// Pages by number, served in turn; the last one stays.
    std::map<QString, std::deque<QString>> pages;
    /// Runs at each lookup before its page is served; may throw PortalError.
    std::function<void(const QString&)> onLookup;
    int logins = 0;
    int interrupts = 0;
    QStringList looked; ///< numbers, in the order of the lookups
    QStringList shown;

private:
    bool m_loggedIn = false;
};

} // namespace veritam::test
