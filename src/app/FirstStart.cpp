#include "app/FirstStart.h"

#include "platform/DurableFile.h"
#include "store/Schema.h"

#include <QFile>
#include <QFileInfo>

namespace veritam::FirstStart {

bool prepareDataFolder(const QString& dataFolder) {
    for (const char* sheet : {"cascade1.css", "cascade2.css"}) {
        const QString target = dataFolder + QString::fromLatin1(sheet);
        // The user may have restyled them; only a missing sheet is copied.
        if (QFileInfo::exists(target))
            continue;
        QFile resource(QStringLiteral(":/veritam/") + QString::fromLatin1(sheet));
        try {
            if (resource.open(QIODevice::ReadOnly))
                DurableFile::replace(target, resource.readAll());
        } catch (const FileError&) {
            // Without them a snapshot shows unstyled; the database below matters.
        }
    }
    const QString database = dataFolder + Schema::databaseFileName();
    const QFileInfo info(database);
    // A file of no bytes holds nothing; it is what an interrupted copy or a "touch" leaves.
    if (info.exists() && info.size() == 0)
        QFile::remove(database);
    else if (info.exists())
        return false;
    Schema::createDatabase(database);
    return true;
}

} // namespace veritam::FirstStart
