#include "core/LibraryTicks.h"
#include "core/SourceScan.h"
#include "core/WorkspaceFile.h"

#include <QHash>
#include <QSet>

namespace core {
namespace {

// The first holdable line of each text: a large tree must not cost a walk
// of the list per lookup.
QHash<QString, int> firstLines(const QList<TickedFolder> &lines)
{
    QHash<QString, int> first;
    first.reserve(lines.size());
    for (int i = int(lines.size()) - 1; i >= 0; --i) {
        if (lines[i].holdable)
            first.insert(lines[i].entry, i);
    }
    return first;
}

bool isAtOrBelowAny(const QString &entry, const QStringList &folders)
{
    return folders.contains(entry) || liesBelowAny(entry, folders);
}

} // namespace

QList<TickedFolder> MarkTargetEntries(QList<TickedFolder> list, const QStringList &target)
{
    const QHash<QString, int> first = firstLines(list);
    for (const QString &text : target) {
        const auto it = first.constFind(text);
        if (it != first.constEnd())
            list[*it].ticked = true;
    }
    return list;
}

TicksApplied applyTicks(const Workspace &target, const QList<TickedFolder> &checkList, const UnshownFolders &unshown)
{
    const QHash<QString, int> first = firstLines(checkList);
    const auto IsEntryChecked = [&](const QString &text) {
        const auto it = first.constFind(text);
        return it != first.constEnd() && checkList[*it].ticked;
    };

    TicksApplied result;
    Workspace &w = result.workspace;
    w.EditFileName = target.EditFileName;
    for (const QString &entry : target.entries) {
        if (IsEntryChecked(entry) || liesBelowAny(entry, unshown.unlisted)
            || isAtOrBelowAny(entry, unshown.linksNotFollowed) || holdsKeptBytes(entry))
            w.entries << entry;
    }

    QSet<QString> held(w.entries.cbegin(), w.entries.cend());
    for (const TickedFolder &line : checkList) {
        if (!line.ticked || (line.holdable && held.contains(line.entry)))
            continue;
        const EntryFault fault = entryFault(line.entry);
        if (!line.holdable || fault != EntryFault::None) {
            (line.holdable && fault == EntryFault::OutsideCodePage ? result.notAdded : result.notHeldAsIs) << line.entry;
            continue;
        }
        w.entries << line.entry;
        held.insert(line.entry);
    }

    w.selected = target.selected >= 0 ? indexOfEntry(w.entries, target.selectedEntry()) : -1;
    return result;
}

} // namespace core
