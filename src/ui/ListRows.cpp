#include "ui/ListRows.h"

#include <QListWidget>

namespace ui {

QStringList listEntries(const QListWidget *list)
{
    QStringList result;
    result.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

void selectRow(QListWidget *list, int row)
{
    if (row < 0 || row >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return;
    }
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void showEntries(QListWidget *list, const QStringList &entries, int selected)
{
    while (list->count() > entries.size())
        delete list->takeItem(list->count() - 1);
    for (int i = 0; i < entries.size(); ++i) {
        if (i >= list->count())
            list->addItem(entries[i]);
        else if (list->item(i)->text() != entries[i])
            list->item(i)->setText(entries[i]);
    }
    selectRow(list, selected);
}

} // namespace ui
