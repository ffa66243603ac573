#pragma once
// "Select libraries" as values: which folders of the scan start ticked, and
// what the ticks make of the workspace on OK.
#include "core/Workspace.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace core {

// One line of the check list: a folder of the scan and its tick.
struct TickedFolder {
    QString entry;
    bool ticked = false;
};

// The check list for a scan, each folder ticked when the workspace holds
// it. Texts match exactly, case included; only the first line of a text
// counts.
QList<TickedFolder> MarkTargetEntries(const QStringList &scanned, const QStringList &target);

struct TicksApplied {
    Workspace workspace;
    // Ticked folders left out because the workspace file cannot hold their
    // names; they would come back naming other folders.
    QStringList notAdded;
};

// OK: the workspace's entries whose folder is not ticked (or was not found)
// go, except those below a folder the scan could not list, which the dialog
// never showed; ticked folders it lacks follow in scan order; entries that
// stay keep their order, and the selected entry stays selected where it
// still is (otherwise nothing is).
TicksApplied applyTicks(const Workspace &target, const QList<TickedFolder> &checkList,
                        const QStringList &unlistedFolders);

} // namespace core
