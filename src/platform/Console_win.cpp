#include "platform/Console.h"
#include "platform/CodePage.h"

#include "platform/win/WinPlatform.h"

#include <QRegularExpression>

namespace platform {
namespace {

Written write(bool error, const QString &text)
{
    // Lines end in CR LF, as the C runtime's text streams always gave them;
    // a line end that is CR LF already stays one. Straight to the handle:
    // nothing is held back for a child started next.
    static const QRegularExpression bareLineEnd(QStringLiteral("(?<!\\r)\\n"));
    const QString lines = QString(text).replace(bareLineEnd, QStringLiteral("\r\n"));
    if (win::isConsole(error))
        return win::writeConsole(error, lines.toStdWString()) ? Written::All : Written::Failed;
    // A file or pipe takes the page a batch file's "for /f" reads it in.
    const std::optional<QByteArray> bytes = toInterpreterCodePage(lines);
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
