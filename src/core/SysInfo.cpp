#include "core/SysInfo.h"

#include "platform/Process.h"
#include "platform/SystemInfo.h"

namespace core {

SysInfoAccess systemSysInfoAccess()
{
    // The path read is the program itself, blanks and all.
    return {platform::getKeyValue, platform::isPlainFile,
            [](const QString &path) { return platform::startProgram(path, QString()); }};
}

bool startSysInfo(const SysInfoAccess &access)
{
    const QString infoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

    QString path;
    if (!access.getKeyValue(platform::kHkeyLocalMachine, infoKey, QStringLiteral("PATH"), path)) {
        QString folder;
        if (!access.getKeyValue(platform::kHkeyLocalMachine, locationKey,
                                QStringLiteral("MSINFO"), folder))
            return false;
        path = folder + QStringLiteral("\\MSINFO32.EXE");
        if (!access.isPlainFile(path))
            return false;
    }
    // A first location of an unexpected type reads as empty: starting that fails.
    return access.start(path);
}

} // namespace core
