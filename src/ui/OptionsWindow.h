#pragma once
#include "core/Kit.h"
#include "core/Settings.h"
#include "core/SettingsFile.h"

#include <QPointer>
#include <QString>

#include <functional>

class QWidget;
class frmOptions;

// The main window's one Options object for the whole run. The dialog's
// state (its nine fields, which are the live settings) is created on first
// use and discarded whenever the dialog closes.
class OptionsWindow
{
public:
    // report: shows a text where the user sees it (the main window's status
    // panel), here when the settings file could not be read or written.
    OptionsWindow(const core::Kit &kit, QWidget *owner, std::function<void(const QString &)> report = {});
    ~OptionsWindow();
    OptionsWindow(const OptionsWindow &) = delete;
    OptionsWindow &operator=(const OptionsWindow &) = delete;

    // The live settings as the fields hold them; the first use creates them.
    core::Settings settings();
    // Sets one field (an import); saved only by a later OK or Apply.
    void setValue(const QString &key, const QString &value);

    // Tool > Option...: modal over the owner; returns when the dialog closes.
    // When the dialog is already shown modeless it is only brought forward.
    // A tab, when given, is selected first.
    void showModal(int tab = -1);
    // The same, but waits for the dialog to close even when it is shown
    // modeless already: it is then made modal for this call, with the values
    // it holds, so that it takes input above another modal window.
    void showAndWait(int tab);
    // After a batch-file import: on the given tab, main window stays usable.
    void showModeless(int tab);

    // What reading the settings file found for the live settings.
    core::LoadOutcome loadOutcome();

    bool isLoaded() const;
    // Discards the dialog's state without saving, as Cancel does.
    void unload();
    // The dialog while its state exists, else null.
    frmOptions *form() const;

private:
    frmOptions *ensureLoaded();
    // Loaded, with the tab selected when one is given.
    frmOptions *onTab(int tab);
    // Forgets a finished dialog and deletes it once control has left it.
    void discard(frmOptions *form);
    void report(const QString &text);

    core::Kit m_kit;
    QWidget *m_owner;
    std::function<void(const QString &)> m_report;
    // What this window last said about the settings file.
    QString m_lastReport;
    QPointer<frmOptions> m_form;
};
