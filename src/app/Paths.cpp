#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace app {

QString AppPath()
{
    QString path = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))))
        path.chop(1);
    return path;
}

QString SrcDir(const QString &appPath)
{
    return appPath + QStringLiteral("\\src");
}

QString LibDir(const QString &appPath)
{
    return appPath + QStringLiteral("\\lib");
}

} // namespace app
