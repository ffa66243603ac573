#include "platform/JavaInstallations.h"

#include <QFileInfo>

namespace platform {

void addJavaInstallation(QList<JavaInstallation> &found, JavaInstallation::Origin origin, const QString &folder,
                         const QString &binFolder, const QString &key)
{
    if (binFolder.isEmpty())
        return;
    const QString java = javaProgramIn(binFolder, QStringLiteral("java"));
    const QString javac = javaProgramIn(binFolder, QStringLiteral("javac"));
    if (java.isEmpty() && javac.isEmpty())
        return;
    // Links and alternatives lead many names to one installation: the same
    // files are the same installation, under the name found first.
    const auto real = [](const QString &path) { return path.isEmpty() ? path : QFileInfo(path).canonicalFilePath(); };
    for (const JavaInstallation &before : found) {
        if (real(before.java) == real(java) && real(before.javac) == real(javac))
            return;
    }
    found.append({origin, folder, key, java, javac});
}

} // namespace platform
