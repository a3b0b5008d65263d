#include "check/CheckStep.h"

#include "analysis/SectionExtractor.h"
#include "portal/PageVerdict.h"
#include "portal/PortalSession.h"
#include "store/WatchedRecord.h"

#include <QScopeGuard>

namespace veritam {

namespace {

CheckOutcome outcome(CheckOutcome::Result result, const QString& cause) {
    CheckOutcome o;
    o.result = result;
    o.cause = cause;
    return o;
}

} // namespace

CheckOutcome CheckOutcome::failed(const QString& cause, bool notShown) {
    CheckOutcome o = outcome(Result::Failed, cause);
    o.notShown = notShown;
    return o;
}

CheckOutcome CheckOutcome::interrupted(const QString& cause) {
    return outcome(Result::Interrupted, cause);
}

CheckOutcome CheckOutcome::refused(const QString& cause, bool told) {
    CheckOutcome o = outcome(Result::Refused, cause);
    o.told = told;
    return o;
}

CheckStep::CheckStep(TDM1& dm, PortalSession& session)
    : m_dm(dm)
    , m_session(session) {}

std::optional<CheckOutcome> CheckStep::logIn() {
    try {
        switch (m_session.login()) {
        case LoginOutcome::LoggedIn:
            return std::nullopt;
        case LoginOutcome::NoCredentials:
            // The login has told the user where to enter them.
            return CheckOutcome::refused(
                QStringLiteral("Chybí přihlašovací údaje k účtu na portálu."), true);
        case LoginOutcome::Refused:
            break;
        }
        return CheckOutcome::refused(loginRefusedText());
    } catch (const PortalError& e) {
        if (e.cause() == PortalError::Cause::Interrupted || e.cause() == PortalError::Cause::Busy)
            return CheckOutcome::interrupted(e.message());
        return CheckOutcome::refused(QStringLiteral("Přihlášení k portálu se nezdařilo. ") +
                                     e.message() + QStringLiteral(" Zkuste kontrolu později."));
    }
}

std::optional<CheckOutcome> CheckStep::logInUnlessLoggedIn() {
    return m_session.loggedIn() ? std::nullopt : logIn();
}

CheckOutcome CheckStep::check(const WatchedRecord& record, Mode mode,
                              const std::function<void(const Comparison&)>& recorded) {
    if (std::optional<CheckOutcome> outcome = once(record, mode, recorded))
        return *outcome;
    if (onNote)
        onNote(QStringLiteral("Portál žádá nové přihlášení, přihlašuji znovu."));
    if (std::optional<CheckOutcome> refused = logIn())
        return *refused;
    m_renewing = true;
    const auto renewed = qScopeGuard([this] { m_renewing = false; });
    const std::optional<CheckOutcome> outcome = once(record, mode, recorded);
    if (outcome)
        return *outcome;
    return CheckOutcome::refused(
        QStringLiteral("Ani po novém přihlášení portál neukazuje údaje. ") + loggedOutText() +
        u' ' + loginRefusedText());
}

std::optional<CheckOutcome>
CheckStep::once(const WatchedRecord& record, Mode mode,
                const std::function<void(const Comparison&)>& recorded) {
    PortalPage page;
    try {
        page = m_session.lookup(record);
    } catch (const PortalError& e) {
        switch (e.cause()) {
        case PortalError::Cause::Interrupted:
        case PortalError::Cause::Busy:
            return CheckOutcome::interrupted(e.message());
        case PortalError::Cause::Refused:
            return CheckOutcome::refused(e.message() + QStringLiteral(" Zkuste kontrolu později."));
        case PortalError::Cause::TimeLimit:
        case PortalError::Cause::Unreachable: {
            CheckOutcome o = CheckOutcome::failed(e.message());
            o.unreachable = true;
            return o;
        }
        case PortalError::Cause::Page:
            break;
        }
        return CheckOutcome::failed(e.message());
    }
    switch (page.kind) {
    case PageKind::LoggedOut:
        return std::nullopt;
    case PageKind::InformationWithoutOwners:
        if (!m_reloginUseless && !m_renewing)
            return std::nullopt;
        m_reloginUseless = true;
        break;
    case PageKind::Protection:
    case PageKind::Other:
        return CheckOutcome::refused(whyNotComparable(page) +
                                     QStringLiteral(" Další dotazy by portál mohl brát jako "
                                                    "zneužití; zkuste kontrolu později."));
    case PageKind::Information:
    case PageKind::Incomplete:
    case PageKind::SearchForm:
        break;
    }
    if (onPageRead)
        onPageRead(record);
    if (page.kind != PageKind::Information)
        return CheckOutcome::failed(whyNotComparable(page), true);

    TParseKatastr sections;
    try {
        sections = ExtractSections(*page.parsed);
    } catch (const AnalysisError& e) {
        return CheckOutcome::failed(e.message(), true);
    }
    CheckOutcome outcome;
    if (mode == Mode::FirstValues) {
        if (sections.vlastnici.isEmpty())
            return CheckOutcome::failed(QStringLiteral("Stránka objektu neukazuje vlastníky."),
                                        true);
        ChangeRecorder::StoreFirstValues(m_dm, record, sections, page.markup);
        outcome.result = CheckOutcome::Result::Changed;
        outcome.comparison.changed = kindTable(record.kind).compared;
        return outcome;
    }
    outcome.comparison =
        ChangeRecorder::CompareAndRecord(m_dm, record, sections, page.markup, recorded);
    outcome.result =
        outcome.comparison.any() ? CheckOutcome::Result::Changed : CheckOutcome::Result::Unchanged;
    return outcome;
}

} // namespace veritam
