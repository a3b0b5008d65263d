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

bool isTable(Section section) {
    return section != Section::Area && section != Section::Share;
}

QString name(Section section) {
    return sectionColumns(section).stored.mid(5); // after "hash_"
}

QString title(Section section) {
    switch (section) {
    case Section::Area:
        return QStringLiteral("Výměra [m2]");
    case Section::Share:
        return QStringLiteral("Podíl na společných částech");
    case Section::Owners:
        return QStringLiteral("Vlastníci, jiní oprávnění");
    case Section::Protection:
        return QStringLiteral("Způsob ochrany nemovitosti");
    case Section::Restrictions:
        return QStringLiteral("Omezení vlastnického práva");
    case Section::Other:
        return QStringLiteral("Jiné zápisy");
    }
    return {};
}

std::vector<QStringList> rows(const QString& sectionText) {
    std::vector<QStringList> result;
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
    for (Section s : kAllSections) {
        Change c;
        c.section = s;
        if (isTable(s)) {
            const std::vector<QStringList> before = rows(older[s]);
            const std::vector<QStringList> after = rows(newer[s]);
            c.removed = missingFrom(before, after);
            c.added = missingFrom(after, before);
            c.differs = !c.removed.empty() || !c.added.empty();
        } else {
            c.oldText = older[s];
            c.newText = newer[s];
            c.differs = c.oldText != c.newText;
        }
        changes.push_back(c);
    }
    return changes;
}

std::optional<TParseKatastr> readSnapshot(const QByteArray& content) {
    const ParsedPage page(QString::fromUtf8(content));
    if (recognisePage(page) != PageKind::Information)
        return std::nullopt;
    TParseKatastr sections;
    try {
        ExtractSections(page, sections);
    } catch (const AnalysisError&) {
        return std::nullopt;
    }
    return sections;
}

} // namespace veritam::SectionDiff
