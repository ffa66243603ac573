#include "core/Settings.h"

namespace core {

Settings::Settings()
{
    for (const QString &key : keys())
        m_values.insert(key, defaultValue(key));
}

QStringList Settings::keys()
{
    return {kJREpath, kLibpath, kDtPackages, kJavapath, kCP, kCompiler, kClassDirectory, kOrganization, kAuthor};
}

QString Settings::defaultValue(const QString &key)
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

void Settings::setValue(const QString &key, const QString &value) &
{
    if (m_values.contains(key))
        m_values.insert(key, value);
}

} // namespace core
