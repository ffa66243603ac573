#include "platform/NativePath.h"

namespace platform {

// Backslashes are already the system's own.
QString nativePath(const QString &path)
{
    return path;
}

} // namespace platform
