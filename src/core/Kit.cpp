#include "core/Kit.h"

#include <QCoreApplication>
#include <QDir>

namespace core {

QString AppPath()
{
    QString path = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))))
        path.chop(1);
    return path;
}

Kit::Kit(const QString &appPath) : m_appPath(appPath) {}

QString Kit::SrcDir() const
{
    return m_appPath + QStringLiteral("\\src");
}

QString Kit::LibDir() const
{
    return m_appPath + QStringLiteral("\\lib");
}

QString Kit::runtimeDir() const
{
    return LibDir() + QStringLiteral("\\fb\\rt");
}

QString Kit::settingsFile() const
{
    // The application's title and ".ini".
    return m_appPath + QStringLiteral("\\TAVO_Starter.ini");
}

QString Kit::workspaceFile() const
{
    return m_appPath + QStringLiteral("\\TAVO_Starter.dat");
}

QString Kit::compileLog() const
{
    return m_appPath + QStringLiteral("\\compile.log");
}

QString Kit::helpPage() const
{
    return m_appPath + QStringLiteral("\\doc\\tavo\\BlockEditor.html");
}

QString Kit::sourceFolder(const QString &package) const
{
    return SrcDir() + QLatin1Char('\\') + package;
}

QString Kit::runtimeFolder(const QString &package) const
{
    return runtimeDir() + QLatin1Char('\\') + package;
}

} // namespace core
