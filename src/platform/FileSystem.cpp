#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QSaveFile>

namespace platform {

bool changeDirectory(const QString &path)
{
    return !path.isEmpty() && QDir::setCurrent(nativePath(path));
}

QString currentDirectory()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool makeDirectory(const QString &path)
{
    const QString native = nativePath(path);
    if (native.isEmpty())
        return false;
    QFileInfo info(native);
    if (info.exists() || info.isSymLink())
        return false;
    // mkdir (not mkpath): parents are never created.
    return QDir().mkdir(native);
}

bool writeFileWhole(const QString &path, const QByteArray &bytes, bool directFallback)
{
    QSaveFile file(nativePath(path));
    file.setDirectWriteFallback(directFallback);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The final flush can fail on a full disk; commit() alone would then put a
    // cut file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
