#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>
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
    return makeDirectoryLevel(path) == MadeDirectory::Made;
}

bool writeFileWhole(const QString &path, const QByteArray &bytes, bool inPlaceFallback)
{
    const QString native = nativePath(path);
    QSaveFile file(native);
    // Qt offers its own fallback on some systems only; ours is the same on
    // every one.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        // Only a folder closed to new files for want of permission leaves
        // the file itself to write to. A full disk (no free block or inode)
        // must not: overwriting there would cut the old file.
        return inPlaceFallback && QFileInfo(native).isFile()
            && refusesNewFileForPermission(QFileInfo(native).absolutePath())
            && overwriteInPlace(native, bytes);
    }
    // The final flush can fail on a full disk; commit() alone would then put a
    // cut file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
