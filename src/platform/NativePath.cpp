#include "platform/NativePath.h"

namespace platform {

QString nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
#endif
}

} // namespace platform
