#pragma once
#include <QStringList>

class QListWidget;

namespace workspace {

// The source-path list as the other parts see it: entries in display order
// and one selected index (-1 for none).
QStringList entries(const QListWidget *list);
int selectedIndex(const QListWidget *list);
void setSelectedIndex(QListWidget *list, int index);

void cmdUp_Click(QListWidget *list);
void cmdDwn_Click(QListWidget *list);
void cmdDelete_Click(QListWidget *list);
void SelectAllPaths(QListWidget *list);

// Modifier sums for the key handler.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;
// Key codes: A 65, Up 38, Down 40, Delete 46.
void lstsrcpath_KeyDown(QListWidget *list, int keyCode, int shift);

} // namespace workspace
