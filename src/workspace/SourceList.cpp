#include "workspace/SourceList.h"

#include <QListWidget>

namespace workspace {

QStringList entries(const QListWidget *list)
{
    QStringList result;
    result.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

int selectedIndex(const QListWidget *list)
{
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return -1;
    return row;
}

void setSelectedIndex(QListWidget *list, int index)
{
    if (index < 0 || index >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return;
    }
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

namespace {

void swapTexts(QListWidget *list, int a, int b)
{
    const QString remembered = list->item(b)->text();
    list->item(b)->setText(list->item(a)->text());
    list->item(a)->setText(remembered);
}

} // namespace

void cmdUp_Click(QListWidget *list)
{
    const int i = selectedIndex(list);
    if (i > 0) {
        swapTexts(list, i, i - 1);
        setSelectedIndex(list, i - 1);
    }
}

void cmdDwn_Click(QListWidget *list)
{
    const int i = selectedIndex(list);
    const int n = list->count();
    if (i < 0 || i >= n - 1)
        return;
    swapTexts(list, i, i + 1);
    setSelectedIndex(list, i + 1);
}

void cmdDelete_Click(QListWidget *list)
{
    const int i = selectedIndex(list);
    if (i < 0)
        return;
    delete list->takeItem(i);
    setSelectedIndex(list, -1);
}

void SelectAllPaths(QListWidget *list)
{
    const int remembered = selectedIndex(list);
    // Disabling the list would hand its keyboard focus on; keep it.
    const bool hadFocus = list->hasFocus();
    list->setEnabled(false);
    for (int i = 0; i < list->count(); ++i)
        setSelectedIndex(list, i);
    setSelectedIndex(list, remembered);
    list->setEnabled(true);
    if (hadFocus)
        list->setFocus();
}

void lstsrcpath_KeyDown(QListWidget *list, int keyCode, int shift)
{
    if (shift == kCtrlMask) {
        if (keyCode == 65)
            SelectAllPaths(list);
    } else if (shift == kAltMask) {
        if (keyCode == 40)
            cmdDwn_Click(list);
        else if (keyCode == 38)
            cmdUp_Click(list);
    } else if (keyCode == 46) {
        cmdDelete_Click(list);
    }
}

} // namespace workspace
