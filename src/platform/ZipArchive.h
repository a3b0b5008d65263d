#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace veritam {

/// Raised for an archive that cannot be read: not a ZIP, truncated, or lacking the entry.
class ZipError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Reading one entry of a ZIP archive held in memory.
namespace ZipArchive {

/// The content of the entry whose file name (without folders) equals `entryName`,
/// compared without regard to case. Throws ZipError.
QByteArray extract(const QByteArray& archive, const QString& entryName);

} // namespace ZipArchive
} // namespace veritam
