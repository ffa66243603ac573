#include "settings/SettingsAccess.h"

namespace settings {

QString defaultValue(const QString &key)
{
    if (key == kJREpath)
        return QStringLiteral("..\\bin\\jre");
    if (key == kLibpath)
        return QStringLiteral("..\\lib;..\\fb.jar;..\\fbrt.jar;");
    if (key == kJavapath)
        return QStringLiteral("..\\lib\\fb\\rt\\");
    if (key == kCP)
        return QStringLiteral("..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;");
    if (key == kCompiler)
        return QStringLiteral("..\\bin\\jikes");
    return QString();
}

QStringList allKeys()
{
    return {kJREpath, kLibpath, kDtPackages, kJavapath, kCP, kCompiler, kClassDirectory,
            kOrganization, kAuthor};
}

} // namespace settings
