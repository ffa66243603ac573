#pragma once
// A main window of plain values for the handlers of the other windows: the
// workspace, the settings, the status text and the busy pointer as they
// leave and reach it, and a window to own the dialogs they show.
#include "core/FileFilters.h"
#include "ui/MainContext.h"

#include <QList>
#include <QWidget>

class FakeMain : public MainContext
{
public:
    explicit FakeMain(const QString &appPath) : m_kit(appPath), m_filters(core::filterIndexByExtension())
    {
        window.setObjectName(QStringLiteral("frmMain"));
    }

    const core::Kit &kit() const override { return m_kit; }
    QWidget *mainWidget() override { return &window; }
    core::Workspace workspace() const override { return ws; }
    void setWorkspace(const core::Workspace &w) override { ws = w; }
    core::Settings settings() override { return values; }
    void setSetting(const QString &key, const QString &value) override { values.setValue(key, value); }
    void showOptionsModeless(int tab) override { tabs << tab; }
    const QHash<QString, int> &filterIndexByExtension() const override { return m_filters; }
    QString statusText() const override { return status; }
    void setStatusText(const QString &text) override { status = text; }
    void setBusy(bool b) override { busy = b; }

    QWidget window;
    core::Workspace ws;
    core::Settings values;
    QString status;
    bool busy = false;
    QList<int> tabs;

private:
    core::Kit m_kit;
    QHash<QString, int> m_filters;
};
