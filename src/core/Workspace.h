#pragma once
#include <QString>
#include <QStringList>

namespace core {

// The workspace: the source packages worked on, in display order, the one
// selected (-1 for none), and the name of the file last chosen for editing.
// Entries are paths below the source root, levels joined by "\".
struct Workspace {
    QStringList entries;
    int selected = -1;
    QString EditFileName;

    // The selected entry's text; empty when none is selected.
    QString selectedEntry() const;
    bool operator==(const Workspace &o) const
    {
        return entries == o.entries && selected == o.selected && EditFileName == o.EditFileName;
    }
    bool operator!=(const Workspace &o) const { return !(*this == o); }
};

// The first entry equal to text (exactly, case included), or -1.
int indexOfEntry(const QStringList &entries, const QString &text);

// Moves the selected entry one place up or down by swapping texts, so it
// stays selected; at either end, or with nothing selected, nothing changes.
Workspace moveUp(Workspace workspace);
Workspace moveDown(Workspace workspace);
// Removes the selected entry; afterwards nothing is selected. Nothing
// selected: nothing changes.
Workspace deleteSelected(Workspace workspace);

// Modifier sums of the list's key table.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;
// Key codes the table knows: A 65, Up 38, Down 40, Delete 46.
constexpr int kKeyA = 65;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;
constexpr int kKeyDelete = 46;

// What a key does to the list, decided by the modifier sum as a whole.
enum class ListKeyAction { None, SelectAll, MoveUp, MoveDown, Delete };
ListKeyAction listKeyAction(int keyCode, int shift);

} // namespace core
