#pragma once
#include "core/Kit.h"
#include "core/Settings.h"
#include "core/Workspace.h"

#include <QHash>
#include <QString>

class QWidget;

// What the main window shares with the handlers of the other windows and
// menus: the kit, the workspace the list shows, the live settings the Options
// window holds, the status panel and the busy pointer. Values go out and
// come back; no handler reaches into the window's controls.
class MainContext
{
public:
    virtual ~MainContext() = default;

    virtual const core::Kit &kit() const = 0;
    // The owner of the dialogs the handlers show.
    virtual QWidget *mainWidget() = 0;

    // The list as it stands (entries, selection) and EditFileName.
    virtual core::Workspace workspace() const = 0;
    virtual void setWorkspace(const core::Workspace &workspace) = 0;

    // The live settings as they stand in the Options window's fields, which
    // are created (and loaded from the file) on first use; and one of them
    // changed there.
    virtual core::Settings settings() = 0;
    virtual void setSetting(const QString &key, const QString &value) = 0;
    // Shows the Options dialog without blocking the main window, on a tab
    // (0 "Editor", 1 "Compiler").
    virtual void showOptionsModeless(int tab) = 0;

    virtual const QHash<QString, int> &filterIndexByExtension() const = 0;

    // The first panel of the status bar.
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    // The hourglass pointer over the main window, or the default one.
    virtual void setBusy(bool busy) = 0;
};
