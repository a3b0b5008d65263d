#include "portal/PortalSession.h"

namespace veritam {

PortalPage PortalPage::read(const QString& markup, const QString& address) {
    auto parsed = std::make_shared<const ParsedPage>(markup);
    return {recognisePage(*parsed), markup, address, std::move(parsed)};
}

PortalSession::Operation::Operation(PortalSession& session)
    : m_session(session) {
    if (session.m_busy)
        throw PortalError(QStringLiteral("Prohlížeč katastru právě pracuje na jiné operaci. "
                                         "Zkuste to prosím znovu, až skončí."),
                          PortalError::Cause::Busy);
    session.m_busy = true;
}

PortalSession::Operation::~Operation() {
    m_session.m_busy = false;
}

} // namespace veritam
