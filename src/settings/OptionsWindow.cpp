#include "settings/OptionsWindow.h"
#include "settings/frmOptions.h"

OptionsWindow::OptionsWindow(const QString &appPath, QWidget *owner) : m_appPath(appPath), m_owner(owner) {}
OptionsWindow::~OptionsWindow() { unload(); }

frmOptions *OptionsWindow::ensureLoaded()
{
    if (!m_form) {
        m_form = new frmOptions(m_owner);
        for (const QString &key : settings::allKeys())
            m_form->values.insert(key, settings::defaultValue(key));
    }
    return m_form;
}

QString OptionsWindow::value(const QString &key) { return ensureLoaded()->values.value(key); }
void OptionsWindow::setValue(const QString &key, const QString &value) { ensureLoaded()->values.insert(key, value); }
void OptionsWindow::showModal() { ensureLoaded()->exec(); }
void OptionsWindow::showModeless(int) { ensureLoaded()->show(); }
bool OptionsWindow::isLoaded() const { return m_form; }
void OptionsWindow::unload() { delete m_form; }
frmOptions *OptionsWindow::form() const { return m_form; }
