#include "platform/SystemInfo.h"
#include "platform/Process.h"

#include "platform/win/WinPlatform.h"

namespace platform {

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

} // namespace platform
