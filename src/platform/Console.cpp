#include "platform/Console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include "platform/win/WinPlatform.h"
#endif

namespace platform {
namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    // A child started next shares the stream; our text must come first.
    std::fflush(stream);
}

} // namespace

void attachParentConsole()
{
#ifdef Q_OS_WIN
    win::attachParentConsole();
#endif
}

void writeStandardOutput(const QString &text)
{
    write(stdout, text);
}

void writeStandardError(const QString &text)
{
    write(stderr, text);
}

} // namespace platform
