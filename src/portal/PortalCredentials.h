#pragma once

#include <QByteArray>
#include <QString>

namespace veritam {

/// The user's portal account, kept in section "cuzk" of nastaveni.ini in the data folder:
/// "jmeno" as typed, "heslo" scrambled (every Windows-1250 byte complemented).
namespace PortalCredentials {

struct Account {
    QString name;
    QString password;
};

QString settingsFile(const QString& dataFolder);

/// Every byte replaced by its complement; its own inverse.
QByteArray scramble(const QByteArray& bytes);

/// Missing file, section or keys read as empty texts.
Account read(const QString& dataFolder);

/// Writes both values as given, nothing trimmed. A password whose scrambled bytes would
/// hold a line end or NUL, which the line-oriented file cannot carry, goes to "heslo_hex"
/// as hexadecimal digits as well, and that key wins when read. Every write of the account
/// leaves the file readable by its owner only. Throws IniWriteError.
void save(const QString& dataFolder, const QString& name, const QString& password);
/// Writes the name; the stored password stays. Throws IniWriteError.
void saveName(const QString& dataFolder, const QString& name);
/// Removes the stored password. Throws IniWriteError.
void forgetPassword(const QString& dataFolder);

} // namespace PortalCredentials
} // namespace veritam
