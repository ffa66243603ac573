#include "core/FileFilters.h"

namespace core {

QString editFileFilter()
{
    return QStringLiteral("system (*.sys)|*.sys|") + QStringLiteral("device (*.dev)|*.dev|")
        + QStringLiteral("resource (*.res)|*.res|") + QStringLiteral("FB (*.fbt)|*.fbt|")
        + QStringLiteral("all(*.*)|*.*|");
}

QString batchFileFilter()
{
    return QStringLiteral("all (*.*)|*.*|") + QStringLiteral("*.bat|*.bat");
}

QHash<QString, int> filterIndexByExtension()
{
    return {{QStringLiteral("sys"), 1}, {QStringLiteral("dev"), 2}, {QStringLiteral("res"), 3},
            {QStringLiteral("fbt"), 4}};
}

int editFilterIndex(const QHash<QString, int> &filterIndexByExtension, const QString &previousName)
{
    const int dot = previousName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 1;
    return filterIndexByExtension.value(previousName.mid(dot + 1), 1);
}

} // namespace core
