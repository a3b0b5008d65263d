#pragma once

#include <QString>

namespace veritam {

/// MD5 of the text's Windows-1250 bytes as 32 upper-case hexadecimal digits. A text with a
/// character the code page lacks is fingerprinted over its UTF-8 bytes instead, so that a
/// change in such a letter is not lost to a "?".
QString Fingerprint(const QString& text);

} // namespace veritam
