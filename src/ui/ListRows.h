#pragma once
// A list box as the program's lists are used: rows in display order and at
// most one selected row, -1 for none.
#include <QStringList>

class QListWidget;

namespace ui {

QStringList listEntries(const QListWidget *list);
int selectedRow(const QListWidget *list);
// Makes a row current and the only one selected; -1 or a row past the end
// selects none.
void selectRow(QListWidget *list, int row);
// Shows entries with one selected; rows already there keep their place, so
// that a change touches only what differs.
void showEntries(QListWidget *list, const QStringList &entries, int selected);
// Marks every row selected at once, without telling the view: the caller
// brings back the selection it wants (selectRow), which the view then shows.
void selectAllRows(QListWidget *list);

} // namespace ui
