#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace veritam {

/// A settings value could not be written; the message names the file.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString& path)
        : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

/// An INI file in the profile format: "[section]" lines and "key=value" lines, 8-bit
/// text with CR LF line ends. Section and key names match without regard to case.
/// Writing a value changes its one line (or adds it) and keeps every other line of the
/// file byte for byte; values are taken and written exactly, without trimming.
namespace IniFile {

/// The value's bytes; empty when the file, the section or the key is missing.
QByteArray readBytes(const QString& path, const QString& section, const QString& key);
/// `readBytes` decoded from Windows-1250.
QString read(const QString& path, const QString& section, const QString& key);

/// Writes the bytes, which must not hold CR, LF or NUL. Creates the file (readable by its
/// owner only), the section or the key as needed. The file is replaced atomically.
/// Throws IniWriteError.
void writeBytes(const QString& path, const QString& section, const QString& key,
                const QByteArray& value);
/// `writeBytes` of the text in Windows-1250.
void write(const QString& path, const QString& section, const QString& key, const QString& value);
/// Removes the key's line, if there is one. Throws IniWriteError.
void remove(const QString& path, const QString& section, const QString& key);

} // namespace IniFile
} // namespace veritam
