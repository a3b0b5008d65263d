#pragma once

#include "store/RecordKind.h"

#include <QString>

namespace veritam {

/// The six sections cut out of an information page, as the page's own text.
struct TParseKatastr {
    QString vymera;    ///< area, after the label "Výměra [m2]:"
    QString vlastnici; ///< owners and other holders
    QString ochrana;   ///< protection of the property
    QString omezeni;   ///< restrictions of ownership
    QString jine;      ///< other records
    QString podil;     ///< share, after a label beginning "Podíl na"

    QString& operator[](Section section) { return this->*field(section); }
    const QString& operator[](Section section) const { return this->*field(section); }

private:
    static QString TParseKatastr::*field(Section section) {
        static QString TParseKatastr::*const fields[] = {
            &TParseKatastr::vymera,  &TParseKatastr::podil,   &TParseKatastr::vlastnici,
            &TParseKatastr::ochrana, &TParseKatastr::omezeni, &TParseKatastr::jine};
        return fields[static_cast<int>(section)];
    }
};

} // namespace veritam
