#include "analysis/Fingerprint.h"

#include "platform/CodePage1250.h"

#include <QCryptographicHash>

namespace veritam {

QString Fingerprint(const QString& text) {
    const QByteArray bytes =
        CodePage1250::canEncode(text) ? CodePage1250::encode(text) : text.toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

} // namespace veritam
