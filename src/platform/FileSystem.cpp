#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QDir>

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

} // namespace platform
