#include "FixtureSession.h"

#include "store/WatchedRecord.h"

namespace veritam::test {

LoginOutcome FixtureSession::login() {
    ++logins;
    LoginOutcome outcome = LoginOutcome::LoggedIn;
    if (!loginOutcomes.empty()) {
        outcome = loginOutcomes.front();
        loginOutcomes.pop_front();
    }
    m_loggedIn = outcome == LoginOutcome::LoggedIn;
    return outcome;
}

QString FixtureSession::numberOf(const WatchedRecord& record) {
    switch (record.kind) {
    case RecordKind::Parcel:
        return record.value(QStringLiteral("cislo_1"));
    case RecordKind::Building:
        return record.value(QStringLiteral("cislo_stavby"));
    case RecordKind::Unit:
        break;
    }
    return record.value(QStringLiteral("cislo_stavby")) + u'/' +
           record.value(QStringLiteral("cislo_jednotky"));
}

PortalPage FixtureSession::lookup(const WatchedRecord& record) {
    const QString number = numberOf(record);
    looked.append(number);
    if (onLookup)
        onLookup(number);
    const auto queue = pages.find(number);
    if (queue == pages.end() || queue->second.empty())
        throw PortalError(QStringLiteral("no fixture for %1").arg(number));
    const QString markup = queue->second.front();
    if (queue->second.size() > 1)
        queue->second.pop_front();
    return PortalPage::read(markup, QStringLiteral("http://portal.test/") + number);
}

} // namespace veritam::test
