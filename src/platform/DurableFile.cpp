#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veritam {

FileError::FileError(Action action, const QString& path, const QString& reason)
    : std::runtime_error((action == Action::Read ? QStringLiteral("Soubor %1 nelze přečíst: %2.")
                                                 : QStringLiteral("Soubor %1 nelze zapsat: %2."))
                             .arg(path, reason)
                             .toStdString())
    , m_path(path)
    , m_reason(reason) {}

namespace DurableFile {

namespace {

[[noreturn]] void fail(FileError::Action action, const QString& path, int error) {
    throw FileError(action, path, reasonOf(error));
}

/// Writes every byte; a short write is retried, and one that makes no progress is an error.
bool writeAll(int fd, const QByteArray& content) {
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

/// Some file systems cannot sync a folder or a file (EINVAL); they have nothing to sync.
bool synced(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL;
}

/// Syncs the folder that holds `path`, so that a name just given there lasts; 0 or errno.
int syncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = synced(fd) ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

QString reasonOf(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("na disku není volné místo");
    case EDQUOT:
        return QStringLiteral("je vyčerpána disková kvóta");
    case EACCES:
    case EPERM:
        return QStringLiteral("chybí oprávnění");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENOENT:
        return QStringLiteral("složka neexistuje");
    case ENOTDIR:
        return QStringLiteral("v cestě je soubor místo složky");
    case EISDIR:
        return QStringLiteral("na místě souboru je složka");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na disku");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

namespace {

/// The whole file; nothing when it does not exist. Throws FileError otherwise.
std::optional<QByteArray> readWhole(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        fail(FileError::Action::Read, path, errno);
    }
    QByteArray content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            fail(FileError::Action::Read, path, error);
        }
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    ::close(fd);
    return content;
}

} // namespace

QByteArray readIfExists(const QString& path) {
    return readWhole(path).value_or(QByteArray());
}

QByteArray read(const QString& path) {
    if (std::optional<QByteArray> content = readWhole(path))
        return *std::move(content);
    throw FileError(FileError::Action::Read, path, QStringLiteral("soubor neexistuje"));
}

Staged::Staged(const QString& path, const QByteArray& content, Access access)
    : m_path(path) {
    const QFileInfo target(path);
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                                           target.fileName() + QStringLiteral(".XXXXXX"));
    // mkostemp creates the file for its owner only, whatever the umask.
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        fail(FileError::Action::Write, path, errno);
    m_temporary = pattern;
    int error = 0;
    struct stat existing {};
    m_replaces = ::stat(QFile::encodeName(path).constData(), &existing) == 0;
    if (m_replaces && access == Access::Kept && ::fchmod(fd, existing.st_mode & 07777) != 0)
        error = errno;
    if (error == 0 && !writeAll(fd, content))
        error = errno;
    if (error == 0 && !synced(fd))
        error = errno;
    // A network file system may report a failed write only when the file is closed.
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
        fail(FileError::Action::Write, path, error);
    }
}

Staged::Staged(Staged&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_temporary(std::exchange(other.m_temporary, {}))
    , m_replaces(other.m_replaces)
    , m_published(std::exchange(other.m_published, false)) {}

Staged::~Staged() {
    if (!m_published && !m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

void Staged::publish() {
    const QByteArray target = QFile::encodeName(m_path);
    if (::rename(m_temporary.constData(), target.constData()) != 0)
        fail(FileError::Action::Write, m_path, errno);
    m_published = true;
    if (const int error = syncFolderOf(m_path); error != 0)
        fail(FileError::Action::Write, m_path, error);
}

void Staged::withdraw() noexcept {
    if (!m_published)
        return; // the staged file goes with this object
    if (!m_replaces)
        ::unlink(QFile::encodeName(m_path).constData());
    m_published = false;
    m_temporary.clear();
}

void replace(const QString& path, const QByteArray& content, Access access) {
    Staged(path, content, access).publish();
}

void append(const QString& path, const QByteArray& content) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    const bool existed = ::stat(name.constData(), &before) == 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(FileError::Action::Write, path, errno);
    struct stat opened {};
    int error = ::fstat(fd, &opened) == 0 ? 0 : errno;
    if (error == 0 && (!writeAll(fd, content) || !synced(fd))) {
        error = errno;
        // What part of the content got in goes again.
        if (::ftruncate(fd, opened.st_size) == 0)
            synced(fd);
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        if (!existed)
            ::unlink(name.constData());
        fail(FileError::Action::Write, path, error);
    }
    // A new file's name lasts only once its folder is synced; its line is written already.
    if (!existed)
        syncFolderOf(path);
}

QByteArray tail(const QString& path, int count) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        fail(FileError::Action::Read, path, errno);
    }
    struct stat info {};
    QByteArray bytes;
    int error = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (error == 0) {
        const off_t from = std::max<off_t>(0, info.st_size - count);
        bytes.resize(static_cast<qsizetype>(info.st_size - from));
        const ssize_t got = ::pread(fd, bytes.data(), static_cast<size_t>(bytes.size()), from);
        if (got < 0)
            error = errno;
        else
            bytes.resize(got);
    }
    ::close(fd);
    if (error != 0)
        fail(FileError::Action::Read, path, error);
    return bytes;
}

} // namespace DurableFile
} // namespace veritam
