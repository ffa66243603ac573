#include "about/AboutBox.h"
#include "about/frmAbout.h"
#include "app/MainContext.h"

namespace about {
AboutBoxHolder::AboutBoxHolder() = default;
AboutBoxHolder::~AboutBoxHolder() = default;
void AboutBoxHolder::show(QWidget *) {}
bool AboutBoxHolder::isLoaded() const { return m_form; }
void AboutBoxHolder::unload() { delete m_form; }
void mnuBlockEditorHelp_Click(MainContext &) {}
} // namespace about
