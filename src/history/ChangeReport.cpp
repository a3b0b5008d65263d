#include "history/ChangeReport.h"

#include "analysis/SectionDiff.h"
#include "store/SectionTable.h"

#include <QStringList>

namespace veritam::ChangeReport {

namespace {

const QString kRemoved = QStringLiteral("<div style=\"background:#fbdcdc\">&minus; %1</div>");
const QString kAdded = QStringLiteral("<div style=\"background:#d9f2d9\">+ %1</div>");

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString row(const QStringList& cells) {
    QStringList parts;
    for (const QString& cell : cells)
        parts.append(escaped(cell));
    return parts.join(QStringLiteral(" | "));
}

QString heading(Section s) {
    return QStringLiteral("<p style=\"margin:6px 0 2px 0\"><b>%1</b></p>")
        .arg(escaped(sectionRow(s).title));
}

QString note(const QString& text) {
    return QStringLiteral("<p>%1</p>").arg(escaped(text));
}

/// The first record of an object: its sections as they were.
QString firstRecord(const TParseKatastr& sections) {
    QString out = note(QStringLiteral("První záznam nemovitosti – není s čím srovnat. Oddíly:"));
    for (const SectionRow& section : sectionTable()) {
        const Section s = section.section;
        if (sections[s].trimmed().isEmpty())
            continue;
        out += heading(s);
        if (section.form != SectionForm::Text) {
            for (const QStringList& r : SectionDiff::rows(s, sections[s]))
                out += QStringLiteral("<div>%1</div>").arg(row(r));
        } else {
            out += QStringLiteral("<div>%1</div>").arg(escaped(sections[s]));
        }
    }
    return out;
}

} // namespace

QString html(const Input& input) {
    if (!input.newer)
        return note(QStringLiteral("Tento snímek nelze přečíst jako stránku s údaji o nemovitosti, "
                                   "rozdíly proto nelze určit."));
    if (input.first)
        return firstRecord(*input.newer);
    if (!input.older)
        return note(QStringLiteral("Předchozí snímek nelze přečíst jako stránku s údaji "
                                   "o nemovitosti, rozdíly proto nelze určit."));
    QString changed;
    QStringList unchanged;
    for (const SectionDiff::Change& c : SectionDiff::compare(*input.older, *input.newer)) {
        const bool empty = (*input.older)[c.section].trimmed().isEmpty() &&
                           (*input.newer)[c.section].trimmed().isEmpty();
        if (empty)
            continue;
        if (!c.differs) {
            unchanged.append(sectionRow(c.section).title);
            continue;
        }
        changed += heading(c.section);
        if (sectionRow(c.section).form != SectionForm::Text) {
            for (const QStringList& r : c.removed)
                changed += kRemoved.arg(row(r));
            for (const QStringList& r : c.added)
                changed += kAdded.arg(row(r));
        } else {
            changed += kRemoved.arg(escaped(c.oldText)) + kAdded.arg(escaped(c.newText));
        }
    }
    QString out = changed.isEmpty()
                      ? note(QStringLiteral("Oddíly se oproti předchozímu záznamu neliší."))
                      : note(QStringLiteral("Oproti předchozímu záznamu:")) + changed;
    if (!unchanged.isEmpty())
        out += QStringLiteral("<p style=\"color:#606060\">Beze změny: %1.</p>")
                   .arg(escaped(unchanged.join(QStringLiteral(", "))));
    return out;
}

} // namespace veritam::ChangeReport
