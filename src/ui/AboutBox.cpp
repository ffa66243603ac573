#include "ui/AboutBox.h"
#include "platform/SystemInfo.h"
#include "ui/MainContext.h"
#include "ui/frmAbout.h"

namespace ui {

AboutBoxHolder::AboutBoxHolder() = default;

AboutBoxHolder::~AboutBoxHolder()
{
    delete m_form;
}

void AboutBoxHolder::show(QWidget *owner)
{
    // One box per run, owned by whoever opens it.
    if (!m_form)
        m_form = new frmAbout(owner);
    else if (m_form->parentWidget() != owner)
        m_form->setParent(owner, m_form->windowFlags());
    m_form->Form_Load();
    m_form->exec();
    if (m_form)
        m_form->unload();
}

bool AboutBoxHolder::isLoaded() const
{
    return m_form && m_form->isLoaded();
}

void AboutBoxHolder::unload()
{
    if (m_form)
        m_form->unload();
}

void mnuBlockEditorHelp_Click(MainContext &ctx)
{
    // Whether the page exists is the browser's business; failures are silent.
    platform::openHelpPage(ctx.kit().helpPage());
}

} // namespace ui
