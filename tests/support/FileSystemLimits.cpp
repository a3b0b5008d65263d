#include "FileSystemLimits.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace veritam::test {

namespace {

const char* const kFiller = "zaplneni.bin";

} // namespace

SmallFileSystem::SmallFileSystem(qint64 bytes) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                           "tmpfs", 0, options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

QString SmallFileSystem::path() const {
    return m_dir.path() + u'/';
}

void SmallFileSystem::fill() {
    const int fd = ::open(QFile::encodeName(path() + QLatin1String(kFiller)).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const QByteArray block(512, 'x');
    while (::write(fd, block.constData(), block.size()) > 0) {
    }
    ::close(fd);
}

void SmallFileSystem::makeRoom() {
    QFile::remove(path() + QLatin1String(kFiller));
}

namespace {

// Bits of the three capabilities that let root pass file modes.
constexpr std::uint32_t kModeBypass =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

} // namespace

FileModesApply::FileModesApply() {
    __user_cap_data_struct data[2] = {};
    if (!capabilities(data, false) || (data[0].effective & kModeBypass) == 0)
        return;
    m_effective[0] = data[0].effective;
    m_effective[1] = data[1].effective;
    data[0].effective &= ~kModeBypass;
    m_dropped = capabilities(data, true);
}

FileModesApply::~FileModesApply() {
    if (!m_dropped)
        return;
    __user_cap_data_struct data[2] = {};
    if (capabilities(data, false)) {
        data[0].effective = m_effective[0];
        data[1].effective = m_effective[1];
        capabilities(data, true);
    }
}

} // namespace veritam::test
