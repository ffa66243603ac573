#pragma once
// How QtTest shows the core's values when a comparison fails, and settings
// built from a few changes to the defaults.
#include "core/Settings.h"
#include "core/Workspace.h"

#include <QHash>
#include <QTest>

namespace core {

inline char *toString(const Settings &settings)
{
    QStringList pairs;
    for (const QString &key : Settings::keys())
        pairs << key + QLatin1Char('=') + settings.value(key);
    return QTest::toString(pairs.join(QStringLiteral(" | ")));
}

inline char *toString(const Workspace &w)
{
    return QTest::toString(QStringLiteral("[%1] selected %2, EditFileName \"%3\"")
                               .arg(w.entries.join(QStringLiteral(", ")))
                               .arg(w.selected)
                               .arg(w.EditFileName));
}

} // namespace core

// The defaults with the given keys changed.
inline core::Settings settingsWith(const QHash<QString, QString> &changes)
{
    core::Settings settings;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        settings.setValue(it.key(), it.value());
    return settings;
}
