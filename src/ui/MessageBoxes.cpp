#include "ui/MessageBoxes.h"
#include "core/StringTable.h"

#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace ui {
namespace {

void setUp(QMessageBox &box, QMessageBox::StandardButton byDefault)
{
    box.setWindowFlags(fixedDialogFlags());
    box.setDefaultButton(byDefault);
    const std::pair<QMessageBox::StandardButton, int> words[] = {
        {QMessageBox::Ok, core::msg::kOK}, {QMessageBox::Yes, core::msg::kYes}, {QMessageBox::No, core::msg::kNo}};
    for (const auto &[button, id] : words) {
        if (QAbstractButton *b = box.button(button))
            b->setText(core::message(id));
    }
}

QMessageBox::StandardButton run(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault)
{
    QMessageBox box(icon, title, text, buttons, owner);
    setUp(box, byDefault);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

Qt::WindowFlags fixedDialogFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void showMessage(QWidget *owner, const QString &title, const QString &text, QMessageBox::Icon icon)
{
    run(owner, icon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void showMessageModeless(QWidget *owner, const QString &title, const QString &text, QMessageBox::Icon icon)
{
    auto *box = new QMessageBox(icon, title, text, QMessageBox::Ok, owner);
    setUp(*box, QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

bool askYesNo(QWidget *owner, const QString &title, const QString &text)
{
    return run(owner, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

QString inputBox(QWidget *owner, const QString &title, const QString &prompt, const QString &text)
{
    QInputDialog box(owner, fixedDialogFlags());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(text);
    box.setOkButtonText(core::message(core::msg::kOK));
    box.setCancelButtonText(core::message(core::msg::kCancel));
    // Room for a package name of several levels, and for the title beside a
    // window manager's buttons, which it would cut in a box as narrow as
    // its prompt.
    if (auto *field = box.findChild<QLineEdit *>())
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 40);
    // Laid out for its texts, then kept so.
    if (QLayout *layout = box.layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

} // namespace ui
