#pragma once
// What the window tests share: a placement store in a test's kit, and what
// a file dialog shows.
#include "support/TestKit.h"
#include "ui/frmMain.h"

#include <QComboBox>
#include <QFileDialog>
#include <QSettings>

// The placement store of the main windows a test makes in its kit, and a
// value stored there.
inline PlacementStoreFactory placementStore(const TestKit &kit)
{
    const QString file = kit.at(QStringLiteral("placement.ini"));
    return [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
}

inline QString storedPlacement(const TestKit &kit, const QString &key)
{
    QSettings s(kit.at(QStringLiteral("placement.ini")), QSettings::IniFormat);
    return s.value(QStringLiteral("Settings/") + key).toString();
}

// The filter captions a file dialog shows, and the one it shows selected.
inline QStringList shownFilters(const QFileDialog *dialog)
{
    QStringList shown;
    if (auto *box = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        shown << QStringLiteral("selected: ") + box->currentText();
    }
    return shown;
}

// EditFileName as the main window keeps it.
inline void setEditFileName(MainContext &ctx, const QString &name)
{
    core::Workspace w = ctx.workspace();
    w.EditFileName = name;
    ctx.setWorkspace(w);
}
