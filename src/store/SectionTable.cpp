#include "store/SectionTable.h"

#include <QStringList>

namespace veritam {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

std::array<SectionRow, kSectionCount> rows() {
    using F = SectionForm;
    using P = TParseKatastr;
    return {{
        {Section::Area, &P::vymera, u8("vymera"), u8("hash_vymera"), u8("zmena_vymera"), false,
         F::Text, u8("Výměra [m2]"), u8("výměra")},
        {Section::Share, &P::podil, u8("podil"), u8("hash_podil"), u8("zmena_podil"), false,
         F::Text, u8("Podíl na společných částech"), u8("podíl")},
        {Section::Owners, &P::vlastnici, u8("vlastnici"), u8("hash_vlastnici"),
         u8("zmena_vlastnici"), true, F::Table, u8("Vlastníci, jiní oprávnění"), u8("vlastníci")},
        {Section::Protection, &P::ochrana, u8("ochrana"), u8("hash_ochrana"), u8("zmena_ochrana"),
         true, F::Table, u8("Způsob ochrany nemovitosti"), u8("ochrana")},
        {Section::Restrictions, &P::omezeni, u8("omezeni"), u8("hash_omezeni"), u8("zmena_omezeni"),
         true, F::Table, u8("Omezení vlastnického práva"), u8("omezení")},
        {Section::Other, &P::jine, u8("jine"), u8("hash_jine"), u8("zmena_jine"), true, F::Table,
         u8("Jiné zápisy"), u8("jiné zápisy")},
        // The columns were laid down for transfers long before the proceedings were read.
        {Section::Proceedings, &P::rizeni, u8("rizeni"), u8("hash_prevod"), u8("zmena_prevod"),
         false, F::List, u8("Probíhající řízení"), u8("řízení")},
    }};
}

} // namespace

const std::array<SectionRow, kSectionCount>& sectionTable() {
    static const std::array<SectionRow, kSectionCount> table = [] {
        const auto t = rows();
        for (std::size_t i = 0; i < t.size(); ++i)
            Q_ASSERT(static_cast<std::size_t>(t[i].section) == i);
        return t;
    }();
    return table;
}

const SectionRow& sectionRow(Section section) {
    return sectionTable()[static_cast<std::size_t>(section)];
}

QString& TParseKatastr::operator[](Section section) {
    return this->*sectionRow(section).member;
}

const QString& TParseKatastr::operator[](Section section) const {
    return this->*sectionRow(section).member;
}

QString listSeparator() {
    return QStringLiteral(", ");
}

QStringList listItems(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(listSeparator());
}

} // namespace veritam
