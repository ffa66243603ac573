#include "platform/JavaInstallations.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString javaProgramIn(const QString &folder, const QString &name)
{
    const QFileInfo program(QDir(folder).filePath(name));
    return program.isFile() && program.isExecutable() ? program.filePath() : QString();
}

QList<JavaInstallation> findJavaInstallations()
{
    using Origin = JavaInstallation::Origin;
    QList<JavaInstallation> found;
    const QString home = qEnvironmentVariable("JAVA_HOME");
    if (!home.isEmpty())
        addJavaInstallation(found, Origin::JavaHome, home, QDir(home).filePath(QStringLiteral("bin")));
    for (const QString &folder : qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        addJavaInstallation(found, Origin::Path, folder, folder);
    // Debian's and most distributions' place for JDKs and JREs, each folder
    // one installation (some of them links to another).
    const QDir jvm(QStringLiteral("/usr/lib/jvm"));
    for (const QString &name : jvm.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        addJavaInstallation(found, Origin::SystemFolder, jvm.filePath(name), jvm.filePath(name + QStringLiteral("/bin")));
    return found;
}

} // namespace platform
