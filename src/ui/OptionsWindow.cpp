#include "ui/OptionsWindow.h"
#include "core/SettingsFile.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/frmOptions.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>

OptionsWindow::OptionsWindow(const core::Kit &kit, QWidget *owner, std::function<void(const QString &)> report)
    : m_kit(kit), m_owner(owner), m_report(std::move(report))
{
}

OptionsWindow::~OptionsWindow()
{
    unload();
}

namespace {

QString settingsFileName(const frmOptions *form)
{
    return QFileInfo(platform::nativePath(form->GetSettingsPath())).fileName();
}

} // namespace

frmOptions *OptionsWindow::ensureLoaded()
{
    if (!m_form) {
        auto *form = new frmOptions(m_kit, m_owner);
        // OK, Cancel, Esc and the close box all finish the dialog; its state
        // goes with it, so the next use reads the file again.
        QObject::connect(form, &QDialog::finished, form, [this, form] { discard(form); });
        m_form = form;
        QObject::connect(form, &frmOptions::settingsNotSaved, form, [this, form] {
            report(core::message(core::msg::kFileNotSaved).arg(settingsFileName(form)));
        });
        // What was said about the file is stale once it is written.
        QObject::connect(form, &frmOptions::settingsSaved, form, [this] {
            if (!m_lastReport.isEmpty())
                report(QString());
        });
        // By name only: it lies beside the program, and the status panel of
        // a window of the default size shows little more.
        if (core::keptUnread(form->loadOutcome()))
            report(core::message(core::msg::kSettingsUnread).arg(settingsFileName(form)));
    }
    return m_form;
}

void OptionsWindow::report(const QString &text)
{
    m_lastReport = text;
    if (m_report)
        m_report(text);
}

void OptionsWindow::discard(frmOptions *form)
{
    if (m_form == form)
        m_form = nullptr;
    // Later, because the dialog may still be on the call stack.
    form->deleteLater();
}

core::Settings OptionsWindow::settings()
{
    return ensureLoaded()->settings();
}

void OptionsWindow::setValue(const QString &key, const QString &value)
{
    if (QLineEdit *field = ensureLoaded()->field(key))
        field->setText(value);
}

frmOptions *OptionsWindow::onTab(int tab)
{
    frmOptions *form = ensureLoaded();
    if (tab >= 0 && tab < form->SSTab->count())
        form->SSTab->setCurrentIndex(tab);
    return form;
}

void OptionsWindow::showModal(int tab)
{
    frmOptions *form = onTab(tab);
    // Already open without blocking (after an import): keep it, with the
    // values it holds, and bring it forward.
    if (form->isVisible()) {
        form->raise();
        form->activateWindow();
        return;
    }
    form->exec();
}

void OptionsWindow::showAndWait(int tab)
{
    frmOptions *form = onTab(tab);
    // A window that is shown takes no new modality; hidden, it keeps its
    // fields and its place.
    if (form->isVisible())
        form->hide();
    form->exec();
}

core::LoadOutcome OptionsWindow::loadOutcome()
{
    return ensureLoaded()->loadOutcome();
}

void OptionsWindow::showModeless(int tab)
{
    frmOptions *form = onTab(tab);
    if (!form->isVisible()) {
        form->setModal(false);
        form->show();
    }
    form->raise();
    form->activateWindow();
}

bool OptionsWindow::isLoaded() const
{
    return m_form;
}

void OptionsWindow::unload()
{
    if (frmOptions *form = m_form) {
        m_form = nullptr;
        delete form;
    }
}

frmOptions *OptionsWindow::form() const
{
    return m_form;
}
