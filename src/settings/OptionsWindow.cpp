#include "settings/OptionsWindow.h"
#include "settings/frmOptions.h"
#include "app/StringTable.h"
#include "platform/NativePath.h"

#include <QFileInfo>

#include <QLineEdit>
#include <QTabWidget>

OptionsWindow::OptionsWindow(const QString &appPath, QWidget *owner,
                             std::function<void(const QString &)> report)
    : m_appPath(appPath), m_owner(owner), m_report(std::move(report))
{
}

OptionsWindow::~OptionsWindow()
{
    unload();
}

frmOptions *OptionsWindow::ensureLoaded()
{
    if (!m_form) {
        auto *form = new frmOptions(m_appPath, m_owner);
        // OK, Cancel, Esc and the close box all finish the dialog; its state
        // goes with it, so the next use reads the file again.
        QObject::connect(form, &QDialog::finished, form, [this, form] { discard(form); });
        m_form = form;
        // By name only: it lies beside the program, and the status panel of
        // a window of the default size shows little more.
        if (m_report && settings::keptUnread(form->loadOutcome()))
            m_report(app::message(app::msg::kSettingsUnread)
                         .arg(QFileInfo(platform::nativePath(form->GetSettingsPath())).fileName()));
    }
    return m_form;
}

void OptionsWindow::discard(frmOptions *form)
{
    if (m_form == form)
        m_form = nullptr;
    // Later, because the dialog may still be on the call stack.
    form->deleteLater();
}

QString OptionsWindow::value(const QString &key)
{
    QLineEdit *field = ensureLoaded()->field(key);
    return field ? field->text() : QString();
}

void OptionsWindow::setValue(const QString &key, const QString &value)
{
    if (QLineEdit *field = ensureLoaded()->field(key))
        field->setText(value);
}

void OptionsWindow::showModal()
{
    // Already open without blocking (after an import): keep it, with the
    // values it holds, and bring it forward.
    if (m_form && m_form->isVisible()) {
        m_form->raise();
        m_form->activateWindow();
        return;
    }
    ensureLoaded()->exec();
}

void OptionsWindow::showModeless(int tab)
{
    frmOptions *form = ensureLoaded();
    if (tab >= 0 && tab < form->SSTab->count())
        form->SSTab->setCurrentIndex(tab);
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
