#include "platform/Console.h"

#include <cstdio>

namespace platform {
namespace {

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

} // namespace

// Standard output and error are connected already.
void attachParentConsole()
{
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
