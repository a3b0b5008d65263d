#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veritam::DataFolder {

namespace {

std::optional<QString> homeFolder() {
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return home;
    // Services started without HOME still have a passwd entry.
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        const QString dir = QString::fromLocal8Bit(pw->pw_dir);
        if (QDir::isAbsolutePath(dir))
            return dir;
    }
    return std::nullopt;
}

QString withoutTrailingSeparators(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

std::optional<QString> userDataHome() {
    // The XDG rules ignore a relative XDG_DATA_HOME.
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return withoutTrailingSeparators(xdg);
    const auto home = homeFolder();
    if (!home)
        return std::nullopt;
    return withoutTrailingSeparators(*home) + QStringLiteral("/.local/share");
}

QString withTrailingSeparator(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

bool folderExists(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

bool createWithParents(const QString& path) {
    if (path.isEmpty())
        return false;
    // Each missing folder is made for its owner only: the data holds third persons'
    // names and addresses. Folders that exist keep their modes.
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    for (qsizetype end = absolute.indexOf(u'/', 1);; end = absolute.indexOf(u'/', end + 1)) {
        const QString prefix = end < 0 ? absolute : absolute.left(end);
        if (::mkdir(QFile::encodeName(prefix).constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end < 0)
            break;
    }
    return folderExists(absolute);
}

bool removeRecursively(const QString& path) {
    QDir dir(path);
    if (!dir.exists())
        return true;
    return dir.removeRecursively();
}

} // namespace veritam::DataFolder
