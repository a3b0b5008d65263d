#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace veritam {

/// The watched sections of an information page.
enum class Section { Area, Share, Owners, Protection, Restrictions, Other, Proceedings };

constexpr std::size_t kSectionCount = 7;

/// The sections cut out of one information page, as the page's own text.
struct TParseKatastr {
    QString vymera;    ///< area, after the label "Výměra [m2]:"
    QString vlastnici; ///< owners and other holders
    QString ochrana;   ///< protection of the property
    QString omezeni;   ///< restrictions of ownership
    QString jine;      ///< other records
    QString podil;     ///< share, after a label beginning "Podíl na"
    QString rizeni;    ///< numbers of the pending proceedings, sorted, ", " between them

    QString& operator[](Section section);
    const QString& operator[](Section section) const;
};

/// How a section's text reads: one value, rows of cells, or a list of numbers.
enum class SectionForm { Text, Table, List };

/// Everything that differs between the watched sections, one row each. A new watched item
/// is one more row here, its column pair in the record tables and its reading in the
/// extractor.
struct SectionRow {
    Section section;
    QString TParseKatastr::*member;
    QString name;       ///< "vymera", ...: the name --extract and --diff print
    QString stored;     ///< hash_vymera, ...: the value of the last check
    QString flag;       ///< zmena_vymera, ...: changed at the last check
    bool fingerprinted; ///< stored as its fingerprint, not as the text itself
    SectionForm form;
    QString title;    ///< the heading a user knows from the portal's page
    QString listWord; ///< lower case, in a notification: "vlastníci"
};

/// All rows, in the order area, share, owners, protection, restrictions, other, proceedings.
const std::array<SectionRow, kSectionCount>& sectionTable();
const SectionRow& sectionRow(Section section);

/// The list form: the items of a text joined by `listSeparator()`, and back.
QString listSeparator();
QStringList listItems(const QString& text);

} // namespace veritam
