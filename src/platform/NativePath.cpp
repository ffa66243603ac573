#include "platform/NativePath.h"

#include <QDir>

namespace platform {

QString systemPath(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(nativePath(path)));
}

} // namespace platform
