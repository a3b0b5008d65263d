#include "portal/PortalCredentials.h"

#include "platform/CodePage1250.h"
#include "platform/IniFile.h"

namespace veritam::PortalCredentials {

namespace {

const QString kSection = QStringLiteral("cuzk");
const QString kName = QStringLiteral("jmeno");
const QString kPassword = QStringLiteral("heslo");
const QString kPasswordHex = QStringLiteral("heslo_hex");

bool fitsOnALine(const QByteArray& bytes) {
    return !bytes.contains('\r') && !bytes.contains('\n') && !bytes.contains('\0');
}

} // namespace

QString settingsFile(const QString& dataFolder) {
    return dataFolder + QStringLiteral("nastaveni.ini");
}

QByteArray scramble(const QByteArray& bytes) {
    QByteArray result(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        result[i] = static_cast<char>(~static_cast<unsigned char>(bytes[i]));
    return result;
}

Account read(const QString& dataFolder) {
    const QString file = settingsFile(dataFolder);
    const QByteArray hex = IniFile::readBytes(file, kSection, kPasswordHex);
    const QByteArray scrambled =
        hex.isEmpty() ? IniFile::readBytes(file, kSection, kPassword) : QByteArray::fromHex(hex);
    return {IniFile::read(file, kSection, kName), CodePage1250::decode(scramble(scrambled))};
}

void save(const QString& dataFolder, const QString& name, const QString& password) {
    // Both values in one replacement of the file: a failure leaves neither written.
    IniFile::Document file(settingsFile(dataFolder));
    file.set(kSection, kName, name);
    const QByteArray scrambled = scramble(CodePage1250::encode(password));
    if (fitsOnALine(scrambled)) {
        file.setBytes(kSection, kPassword, scrambled);
        file.remove(kSection, kPasswordHex);
    } else {
        // "heslo" keeps what a line can hold, for readers that know only that key.
        QByteArray lineSafe = scrambled;
        lineSafe.replace('\r', "").replace('\n', "").replace('\0', "");
        file.setBytes(kSection, kPassword, lineSafe);
        file.setBytes(kSection, kPasswordHex, scrambled.toHex());
    }
    file.save(DurableFile::Access::OwnerOnly);
}

void saveName(const QString& dataFolder, const QString& name) {
    IniFile::Document file(settingsFile(dataFolder));
    file.set(kSection, kName, name);
    file.save(DurableFile::Access::OwnerOnly);
}

void forgetPassword(const QString& dataFolder) {
    IniFile::Document file(settingsFile(dataFolder));
    file.remove(kSection, kPassword);
    file.remove(kSection, kPasswordHex);
    file.save(DurableFile::Access::OwnerOnly);
}

} // namespace veritam::PortalCredentials
