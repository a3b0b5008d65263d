#pragma once

#include "store/SectionTable.h"

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

/// Cuts the watched sections out of a page parsed into a separate document: each from its
/// label cell or heading, the last match in document order winning, a section not found
/// empty; the proceedings from the paragraphs that name them. Throws AnalysisError.
TParseKatastr ExtractSections(const ParsedPage& page);
/// The same on a page's markup.
TParseKatastr ExtractSections(const QString& markup);

/// The numbers of the proceedings a text names ("V-1234/2026-101"), sorted, each once.
QStringList proceedingNumbers(const QString& text);

} // namespace veritam
