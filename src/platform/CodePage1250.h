#pragma once

#include <QByteArray>
#include <QString>

namespace veritam {

/// The Windows-1250 code page, in which the program's 8-bit files and texts are kept.
namespace CodePage1250 {

/// Encodes `text`; every character the code page lacks becomes one "?".
QByteArray encode(const QString& text);

/// Decodes bytes; the five bytes the code page leaves undefined map to U+0081 etc.
QString decode(const QByteArray& bytes);

/// True when every character of `text` has a byte of its own in the code page.
bool canEncode(const QString& text);

} // namespace CodePage1250
} // namespace veritam
