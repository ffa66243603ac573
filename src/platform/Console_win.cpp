#include "platform/Console.h"

#include "platform/win/WinPlatform.h"

namespace platform {
namespace {

bool write(bool error, const QString &text)
{
    // Lines end in CR LF, as the C runtime's text streams always gave them.
    // Straight to the handle: nothing is held back for a child started next.
    const QString lines = QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return win::writeStandard(error, lines.toStdWString(), lines.toLocal8Bit().toStdString());
}

} // namespace

void attachParentConsole()
{
    win::attachParentConsole();
}

bool writeStandardOutput(const QString &text)
{
    return write(false, text);
}

bool writeStandardError(const QString &text)
{
    return write(true, text);
}

} // namespace platform
