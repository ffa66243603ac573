#pragma once
#include <QMessageBox>
#include <QString>

class QWidget;

namespace ui {

// The program's own message boxes, questions and input box: their buttons
// read the string table's words in the user's language, whatever Qt's own
// would be.

// The window flags of the program's fixed dialogs, these boxes among them:
// a title bar with a close button only, as on Windows. Minimise and
// maximise mean nothing for a dialog of fixed size.
Qt::WindowFlags fixedDialogFlags();

// A message with an OK button, modal over its owner.
void showMessage(QWidget *owner, const QString &title, const QString &text,
                 QMessageBox::Icon icon = QMessageBox::NoIcon);

// The same, shown beside its owner without holding it up; it goes when
// closed.
void showMessageModeless(QWidget *owner, const QString &title, const QString &text,
                         QMessageBox::Icon icon = QMessageBox::NoIcon);

// A question with Yes and No, modal over its owner; No is the default and
// Esc answers it. True for Yes.
bool askYesNo(QWidget *owner, const QString &title, const QString &text);

// The input box: a prompt, a title and a field holding `text` (empty unless
// given), with OK and Cancel. The typed text, or the empty text on Cancel.
QString inputBox(QWidget *owner, const QString &title, const QString &prompt, const QString &text = QString());

} // namespace ui
