#include "platform/Console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include "platform/win/WinPlatform.h"
#endif

namespace platform {
namespace {

#ifdef Q_OS_WIN
bool write(bool error, const QString &text)
{
    // Lines end in CR LF, as the C runtime's text streams always gave them.
    // Straight to the handle: nothing is held back for a child started next.
    const QString lines = QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return win::writeStandard(error, lines.toStdWString(), lines.toLocal8Bit().toStdString());
}
#else
bool write(bool error, const QString &text)
{
    std::FILE *stream = error ? stderr : stdout;
    const QByteArray bytes = text.toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream)
                         == std::size_t(bytes.size());
    // A child started next shares the stream; our text must come first. A
    // full disk shows only here.
    return std::fflush(stream) == 0 && written;
}
#endif

} // namespace

void attachParentConsole()
{
#ifdef Q_OS_WIN
    win::attachParentConsole();
#endif
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
