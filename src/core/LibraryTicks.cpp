#include "core/LibraryTicks.h"
#include "core/SourceScan.h"
#include "core/WorkspaceFile.h"

#include <QHash>
#include <QSet>

namespace core {
namespace {

// The first line of each text: a large tree must not cost a walk of the
// list per lookup.
QHash<QString, int> firstLines(const QStringList &texts)
{
    QHash<QString, int> first;
    first.reserve(texts.size());
    for (int i = int(texts.size()) - 1; i >= 0; --i)
        first.insert(texts[i], i);
    return first;
}

} // namespace

QList<TickedFolder> MarkTargetEntries(const QStringList &scanned, const QStringList &target)
{
    QList<TickedFolder> list;
    list.reserve(scanned.size());
    for (const QString &entry : scanned)
        list.append({entry, false});
    const QHash<QString, int> first = firstLines(scanned);
    for (const QString &text : target) {
        const auto it = first.constFind(text);
        if (it != first.constEnd())
            list[*it].ticked = true;
    }
    return list;
}

TicksApplied applyTicks(const Workspace &target, const QList<TickedFolder> &checkList,
                        const QStringList &unlistedFolders)
{
    QStringList scanned;
    scanned.reserve(checkList.size());
    for (const TickedFolder &line : checkList)
        scanned << line.entry;
    const QHash<QString, int> first = firstLines(scanned);
    const auto IsEntryChecked = [&](const QString &text) {
        const auto it = first.constFind(text);
        return it != first.constEnd() && checkList[*it].ticked;
    };

    TicksApplied result;
    Workspace &w = result.workspace;
    w.EditFileName = target.EditFileName;
    for (const QString &entry : target.entries) {
        if (IsEntryChecked(entry) || liesBelowAny(entry, unlistedFolders))
            w.entries << entry;
    }

    QSet<QString> held(w.entries.cbegin(), w.entries.cend());
    for (const TickedFolder &line : checkList) {
        if (!line.ticked || held.contains(line.entry))
            continue;
        if (!storableEntry(line.entry)) {
            result.notAdded << line.entry;
            continue;
        }
        w.entries << line.entry;
        held.insert(line.entry);
    }

    w.selected = target.selected >= 0 ? indexOfEntry(w.entries, target.selectedEntry()) : -1;
    return result;
}

} // namespace core
