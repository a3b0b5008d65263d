#pragma once

#include "platform/DurableFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <stdexcept>

namespace veritam {

/// A settings value could not be written; the message names the file and, on a line of its
/// own, the system's reason.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString& path, const QString& reason = {})
        : std::runtime_error((QStringLiteral("Unable to write to %1").arg(path) +
                              (reason.isEmpty() ? QString() : QStringLiteral("\n(%1)").arg(reason)))
                                 .toStdString()) {}
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

/// The file's lines, changed in memory and written back in one replacement of the file, so
/// that several values are written together or not at all.
class Document {
public:
    /// Throws IniWriteError when the file exists but cannot be read: saving would lose it.
    explicit Document(const QString& path);
    /// Sets the bytes, which must not hold CR, LF or NUL; adds the section or the key as
    /// needed.
    void setBytes(const QString& section, const QString& key, const QByteArray& value);
    /// `setBytes` of the text in Windows-1250.
    void set(const QString& section, const QString& key, const QString& value);
    /// Removes the key's line, if there is one.
    void remove(const QString& section, const QString& key);
    /// Replaces the file (a new one is readable by its owner only; `OwnerOnly` makes an
    /// existing one so too). Throws IniWriteError.
    void save(DurableFile::Access access = DurableFile::Access::Kept) const;

private:
    QString m_path;
    QList<QByteArray> m_lines;
};

/// One value written through a Document. Throws IniWriteError.
void writeBytes(const QString& path, const QString& section, const QString& key,
                const QByteArray& value);
/// `writeBytes` of the text in Windows-1250.
void write(const QString& path, const QString& section, const QString& key, const QString& value);
/// Removes the key's line, if there is one. Throws IniWriteError.
void remove(const QString& path, const QString& section, const QString& key);

} // namespace IniFile
} // namespace veritam
