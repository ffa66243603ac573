#include "platform/SystemInfo.h"
#include "platform/NativePath.h"
#include "platform/RegistryDecode.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "platform/Process.h"
#include "platform/win/WinPlatform.h"
#endif

namespace platform {

QString browserProgram()
{
    return QStringLiteral("c:\\program files\\Internet Explorer\\IEXPLORE.EXE");
}

QStringList systemInfoPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};
}

#ifdef Q_OS_WIN

bool getKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
                 QString &value)
{
    std::string text = value.toLocal8Bit().toStdString();
    const bool ok = win::getKeyValue(root, keyPath.toLocal8Bit().toStdString(),
                                     valueName.toLocal8Bit().toStdString(), text);
    value = QString::fromLocal8Bit(text.c_str());
    return ok;
}

bool isPlainFile(const QString &path)
{
    return win::isPlainFile(path.toStdWString());
}

bool openHelpPage(const QString &pagePath)
{
    return startProgram(browserProgram(), pagePath);
}

#else

namespace {

// The stand-in's registry: the first location names the program found on the
// PATH; the second (a folder holding the Windows program) never exists here.
// Key and value names compare without case, as the registry's do.
bool standInQuery(std::uint32_t root, const QString &keyPath, const QString &valueName,
                  std::uint32_t &type, QByteArray &data)
{
    if (root != kHkeyLocalMachine)
        return false;
    if (keyPath.compare(QLatin1String("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        Qt::CaseInsensitive) != 0
        || valueName.compare(QLatin1String("PATH"), Qt::CaseInsensitive) != 0)
        return false;
    for (const QString &name : systemInfoPrograms()) {
        const QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty())
            continue;
        type = kRegistryString;
        data = found.toLocal8Bit();
        data.append('\0');
        return true;
    }
    return false;
}

} // namespace

bool getKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
                 QString &value)
{
    std::uint32_t type = 0;
    QByteArray data;
    const bool found = standInQuery(root, keyPath, valueName, type, data);
    std::string text = value.toLocal8Bit().toStdString();
    const bool ok = keyValueResult(found, found, type,
                                   reinterpret_cast<const unsigned char *>(data.constData()),
                                   std::size_t(data.size()), text);
    value = QString::fromLocal8Bit(text.c_str());
    return ok;
}

bool isPlainFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(nativePath(path));
    return info.isFile() && !info.isHidden();
}

bool openHelpPage(const QString &pagePath)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, {nativePath(pagePath)});
}

#endif

} // namespace platform
