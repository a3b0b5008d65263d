#include "platform/ZipArchive.h"

#include <zip.h>

#include <memory>

namespace veritam::ZipArchive {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

std::string errorText(zip_error_t* error) {
    return zip_error_strerror(error);
}

} // namespace

QByteArray extract(const QByteArray& archive, const QString& entryName) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        archive.constData(), static_cast<zip_uint64_t>(archive.size()), 0, &error);
    if (!source) {
        const std::string text = errorText(&error);
        zip_error_fini(&error);
        throw ZipError(text);
    }
    std::unique_ptr<zip_t, ArchiveCloser> zip(
        zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!zip) {
        zip_source_free(source);
        const std::string text = errorText(&error);
        zip_error_fini(&error);
        throw ZipError(text);
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !st.name)
            continue;
        QString name = QString::fromUtf8(st.name);
        name = name.mid(name.lastIndexOf(u'/') + 1);
        if (name.compare(entryName, Qt::CaseInsensitive) != 0)
            continue;
        if (!(st.valid & ZIP_STAT_SIZE) || st.size > (1u << 30))
            throw ZipError("entry of unknown or excessive size");
        std::unique_ptr<zip_file_t, FileCloser> file(
            zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0));
        if (!file)
            throw ZipError(zip_strerror(zip.get()));
        QByteArray out(static_cast<qsizetype>(st.size), Qt::Uninitialized);
        qsizetype done = 0;
        while (done < out.size()) {
            const zip_int64_t n = zip_fread(file.get(), out.data() + done,
                                            static_cast<zip_uint64_t>(out.size() - done));
            if (n < 0)
                throw ZipError(zip_file_strerror(file.get()));
            if (n == 0)
                break;
            done += n;
        }
        if (done != out.size())
            throw ZipError("entry ends early");
        return out;
    }
    throw ZipError("entry " + entryName.toStdString() + " not found");
}

} // namespace veritam::ZipArchive
