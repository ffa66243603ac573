// There is no registry here. The system-information program is found on the
// PATH instead, and its path is handed out as the one registry value that
// names it on Windows, so that callers ask the same question everywhere.
#include "platform/SystemInfo.h"
#include "platform/NativePath.h"
#include "platform/RegistryDecode.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

// Answers only the first of the two locations asked for the program: the
// path of the first of systemInfoPrograms() found on the PATH. The second (a
// folder holding the Windows program) never exists here. Key and value
// names compare without case, as the registry's do.
bool systemInfoProgramValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
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
    const bool found = systemInfoProgramValue(root, keyPath, valueName, type, data);
    // Through the registry's own decoding: a value not found is emptied, as a
    // failed read empties it on Windows.
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

} // namespace platform
