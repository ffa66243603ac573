#pragma once
#include <QPointer>

class MainContext;
class QWidget;
class frmAbout;

namespace ui {

// The run's one About box: loaded afresh at each opening, unloaded on close.
class AboutBoxHolder
{
public:
    AboutBoxHolder();
    ~AboutBoxHolder();
    void show(QWidget *owner);
    bool isLoaded() const;
    void unload();

private:
    QPointer<frmAbout> m_form;
};

// Help > BlockEditor&Help...
void mnuBlockEditorHelp_Click(MainContext &ctx);

} // namespace ui
