#include "platform/Console.h"
#include "platform/CodePage.h"

#include <cstdio>

namespace platform {
namespace {

Written write(bool error, const QString &text)
{
    const std::optional<QByteArray> bytes = toCodePage(text);
    if (!bytes)
        return Written::NotHeld;
    std::FILE *stream = error ? stderr : stdout;
    const bool written = std::fwrite(bytes->constData(), 1, std::size_t(bytes->size()), stream)
                         == std::size_t(bytes->size());
    // A child started next shares the stream; our text must come first. A
    // full disk shows only here.
    return std::fflush(stream) == 0 && written ? Written::All : Written::Failed;
}

} // namespace

// Standard output and error are connected already.
void attachParentConsole()
{
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
