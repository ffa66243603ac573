#pragma once
#include <QHash>
#include <QString>

class QListWidget;
class QWidget;
class SettingsAccess;

// What the main window shares with the actions of the other subsystems: the
// kit folder, the source-path list, EditFileName, the status panel, the busy
// pointer and the live settings.
class MainContext
{
public:
    virtual ~MainContext() = default;

    virtual QString appPath() const = 0;
    virtual QWidget *mainWidget() = 0;

    virtual QListWidget *sourceList() = 0;

    virtual QString editFileName() const = 0;
    virtual void setEditFileName(const QString &name) = 0;
    virtual const QHash<QString, int> &filterIndexByExtension() const = 0;

    // The first panel of the status bar.
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    // The hourglass pointer over the main window, or the default one.
    virtual void setBusy(bool busy) = 0;

    // The nine live settings, created on first use.
    virtual SettingsAccess &settings() = 0;
    // Shows the Options dialog without blocking the main window, on a tab
    // (0 "Editor", 1 "Compiler").
    virtual void showOptionsModeless(int tab) = 0;
};
