#include "ui/ListRows.h"

#include <QListWidget>
#include <QSignalBlocker>

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

namespace {

// Each row keeps the size its text takes, measured when the text is set:
// the list lays itself out anew after every change, and measuring the text
// of every row again would take the better part of a second for 100,000.
// Set before that layout runs, and told to no one, as it is the text's.
void keepSizes(QListWidget *list, int first, int count)
{
    QAbstractItemModel *model = list->model();
    const QSignalBlocker quiet(model);
    for (int row = first; row < first + count; ++row) {
        QListWidgetItem *item = list->item(row);
        item->setData(Qt::SizeHintRole, QVariant());
        item->setData(Qt::SizeHintRole, list->sizeHintForIndex(model->index(row, 0)));
    }
}

} // namespace

void showEntries(QListWidget *list, const QStringList &entries, int selected)
{
    // Only the rows between what stays at the top and what stays at the
    // bottom change: a move touches two rows, a delete removes one, however
    // long the list.
    const QStringList shown = listEntries(list);
    const qsizetype common = qMin(shown.size(), entries.size());
    qsizetype head = 0;
    while (head < common && shown[head] == entries[head])
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && shown[shown.size() - 1 - tail] == entries[entries.size() - 1 - tail])
        ++tail;
    const int oldRows = int(shown.size() - head - tail);
    const int newRows = int(entries.size() - head - tail);
    const int kept = qMin(oldRows, newRows);
    for (int i = 0; i < kept; ++i)
        list->item(int(head) + i)->setText(entries[head + i]);
    keepSizes(list, int(head), kept);
    if (oldRows > kept) {
        list->model()->removeRows(int(head) + kept, oldRows - kept);
    } else if (newRows > kept) {
        list->insertItems(int(head) + kept, entries.mid(head + kept, newRows - kept));
        keepSizes(list, int(head) + kept, newRows - kept);
    }
    selectRow(list, selected);
}

void selectAllRows(QListWidget *list)
{
    if (list->count() == 0)
        return;
    // One range, told to no one: each row in turn would cost the whole
    // list's repaint and signals a row.
    QItemSelectionModel *selection = list->selectionModel();
    const QSignalBlocker held(selection);
    selection->select(QItemSelection(list->model()->index(0, 0), list->model()->index(list->count() - 1, 0)),
                      QItemSelectionModel::ClearAndSelect);
}

} // namespace ui
