#include "platform/Console.h"
#include "platform/CodePage.h"

#include "platform/win/WinPlatform.h"

namespace platform {
namespace {

Written write(bool error, const QString &text)
{
    // Lines end in CR LF, as the C runtime's text streams always gave them.
    // Straight to the handle: nothing is held back for a child started next.
    const QString lines = QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (win::isConsole(error))
        return win::writeConsole(error, lines.toStdWString()) ? Written::All : Written::Failed;
    const std::optional<QByteArray> bytes = toCodePage(lines);
    if (!bytes)
        return Written::NotHeld;
    return win::writeBytes(error, bytes->toStdString()) ? Written::All : Written::Failed;
}

} // namespace

void attachParentConsole()
{
    win::attachParentConsole();
}

Written writeStandardOutput(const QString &text)
{
    return write(false, text);
}

Written writeStandardError(const QString &text)
{
    return write(true, text);
}

} // namespace platform
