#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace veritam::test {

/// A small tmpfs mounted on a new folder while this lives: a disk that really fills up.
/// Mounting needs root; where the machine does not allow it, mounted() is false and the
/// test skips.
class SmallFileSystem {
public:
    explicit SmallFileSystem(qint64 bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    /// The mount point, ending with "/".
    QString path() const;
    /// Takes every free block with one file.
    void fill();
    /// Removes that file again.
    void makeRoom();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

/// Root reads and writes whatever the file modes say; while this lives the calling thread
/// does not, so a mode that denies reading or writing is felt as a user feels it.
class FileModesApply {
public:
    FileModesApply();
    ~FileModesApply();
    FileModesApply(const FileModesApply&) = delete;
    FileModesApply& operator=(const FileModesApply&) = delete;

private:
    std::uint32_t m_effective[2] = {0, 0};
    bool m_dropped = false;
};

} // namespace veritam::test
