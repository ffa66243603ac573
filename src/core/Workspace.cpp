#include "core/Workspace.h"

#include <utility>

namespace core {

QString Workspace::selectedEntry() const
{
    return selected >= 0 && selected < entries.size() ? entries[selected] : QString();
}

int indexOfEntry(const QStringList &entries, const QString &text)
{
    return int(entries.indexOf(text));
}

namespace {

bool hasSelection(const Workspace &w)
{
    return w.selected >= 0 && w.selected < w.entries.size();
}

} // namespace

Workspace moveUp(Workspace w)
{
    if (hasSelection(w) && w.selected > 0) {
        std::swap(w.entries[w.selected], w.entries[w.selected - 1]);
        --w.selected;
    }
    return w;
}

Workspace moveDown(Workspace w)
{
    if (hasSelection(w) && w.selected < w.entries.size() - 1) {
        std::swap(w.entries[w.selected], w.entries[w.selected + 1]);
        ++w.selected;
    }
    return w;
}

Workspace deleteSelected(Workspace w)
{
    if (hasSelection(w)) {
        w.entries.removeAt(w.selected);
        w.selected = -1;
    }
    return w;
}

ListKeyAction listKeyAction(int keyCode, int shift)
{
    if (shift == kCtrlMask)
        return keyCode == kKeyA ? ListKeyAction::SelectAll : ListKeyAction::None;
    if (shift == kAltMask) {
        if (keyCode == kKeyDown)
            return ListKeyAction::MoveDown;
        if (keyCode == kKeyUp)
            return ListKeyAction::MoveUp;
        return ListKeyAction::None;
    }
    return keyCode == kKeyDelete ? ListKeyAction::Delete : ListKeyAction::None;
}

} // namespace core
