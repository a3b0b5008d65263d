#pragma once

#include "analysis/TParseKatastr.h"

#include <stdexcept>

namespace veritam {

class ParsedPage;

/// The page cannot be read as the portal's layout promises: a label or heading so near
/// the end that the element holding its value does not exist.
class AnalysisError : public std::runtime_error {
public:
    explicit AnalysisError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

/// Empties all six sections.
void ClearSections(TParseKatastr& sections);

/// Parses the page's markup into a separate document and fills the sections whose label
/// cell or heading it finds; the last match in document order wins, the others are left
/// as they were. Throws AnalysisError.
void ExtractSections(const QString& markup, TParseKatastr& sections);
/// The same on a page parsed already.
void ExtractSections(const ParsedPage& page, TParseKatastr& sections);

} // namespace veritam
