#pragma once

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
};

} // namespace veritam
