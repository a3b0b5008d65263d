#include "analysis/SectionDiff.h"

#include "analysis/PageRecognition.h"
#include "analysis/ParsedPage.h"
#include "analysis/SectionExtractor.h"

#include <map>

namespace veritam::SectionDiff {

namespace {

/// The rows of `from` that `other` does not hold, counting repeated rows one by one.
std::vector<QStringList> missingFrom(const std::vector<QStringList>& from,
                                     const std::vector<QStringList>& other) {
    std::map<QStringList, int> left;
    for (const QStringList& row : other)
        ++left[row];
    std::vector<QStringList> missing;
    for (const QStringList& row : from) {
        int& count = left[row];
        if (count > 0)
            --count;
        else
            missing.push_back(row);
    }
    return missing;
}

} // namespace

std::vector<QStringList> rows(Section section, const QString& sectionText) {
    std::vector<QStringList> result;
    if (sectionRow(section).form == SectionForm::List) {
        for (const QString& item : listItems(sectionText))
            result.push_back({item});
        return result;
    }
    for (const QString& line : sectionText.split(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        QStringList cells = line.split(u'\t');
        for (QString& cell : cells)
            cell = cell.trimmed();
        result.push_back(cells);
    }
    return result;
}

std::vector<Change> compare(const TParseKatastr& older, const TParseKatastr& newer) {
    std::vector<Change> changes;
    for (const SectionRow& row : sectionTable()) {
        const Section s = row.section;
        Change c;
        c.section = s;
        if (row.form == SectionForm::Text) {
            c.oldText = older[s];
            c.newText = newer[s];
            c.differs = c.oldText != c.newText;
        } else {
            const std::vector<QStringList> before = rows(s, older[s]);
            const std::vector<QStringList> after = rows(s, newer[s]);
            c.removed = missingFrom(before, after);
            c.added = missingFrom(after, before);
            c.differs = !c.removed.empty() || !c.added.empty();
        }
        changes.push_back(c);
    }
    return changes;
}

std::optional<TParseKatastr> readSnapshot(const QByteArray& content) {
    const ParsedPage page(QString::fromUtf8(content));
    if (recognisePage(page) != PageKind::Information)
        return std::nullopt;
    try {
        return ExtractSections(page);
    } catch (const AnalysisError&) {
        return std::nullopt;
    }
}

} // namespace veritam::SectionDiff
