#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace veritam {

/// A file could not be read or written; says which file and the system's reason.
class FileError : public std::runtime_error {
public:
    enum class Action { Read, Write };
    FileError(Action action, const QString& path, const QString& reason);
    QString message() const { return QString::fromStdString(what()); }
    QString path() const { return m_path; }
    QString reason() const { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

/// Whole-file reads and writes that check every result. A write goes to a hidden file
/// beside the target, is flushed and synced, and only then replaces the target, so a full
/// disk, a missing right or a crash leaves the old file as it was. A new file is readable
/// by its owner only; a replaced file keeps its mode.
namespace DurableFile {

/// The system's reason for an errno value, in Czech where it is a common one.
QString reasonOf(int error);

/// The whole file; empty when it does not exist. Throws FileError when it exists but
/// cannot be read (no right, a folder in its place, a read error).
QByteArray readIfExists(const QString& path);
/// The whole file of a name the user gave. Throws FileError when it does not exist or
/// cannot be read.
QByteArray read(const QString& path);

/// Who may read a replaced file: whoever could before, or its owner only (a file that holds
/// a secret, whoever created it).
enum class Access { Kept, OwnerOnly };

/// The new content written and synced beside the target, not yet visible under its name.
/// Removed again unless published.
class Staged {
public:
    /// Throws FileError naming `path`.
    Staged(const QString& path, const QByteArray& content, Access access = Access::Kept);
    ~Staged();
    Staged(Staged&& other) noexcept;
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;

    /// Puts the content in place under its name and syncs the folder. Throws FileError.
    void publish();
    /// Removes the published file again, for a change whose other part failed. A file that
    /// replaced an older one of the same name stays: the older one is gone already.
    void withdraw() noexcept;

    QString path() const { return m_path; }

private:
    QString m_path;
    QByteArray m_temporary;
    bool m_replaces = false;
    bool m_published = false;
};

/// Writes `content` to `path` through a staged file. Throws FileError.
void replace(const QString& path, const QByteArray& content, Access access = Access::Kept);

/// Adds `content` at the end of the file (made for its owner only when missing) and syncs
/// it. A failed or short write is undone: the file never keeps part of it, and never loses
/// what it held. Throws FileError.
void append(const QString& path, const QByteArray& content);

/// The file's last `count` bytes (fewer when it is shorter; empty when it is missing).
/// Throws FileError when it exists but cannot be read.
QByteArray tail(const QString& path, int count);

} // namespace DurableFile
} // namespace veritam
