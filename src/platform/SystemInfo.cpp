#include "platform/SystemInfo.h"

namespace platform {

QString browserProgram()
{
    return QStringLiteral("c:\\program files\\Internet Explorer\\IEXPLORE.EXE");
}

QStringList systemInfoPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};
}

} // namespace platform
