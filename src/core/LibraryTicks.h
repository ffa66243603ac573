#pragma once
// "Select libraries" as values: which folders of the scan start ticked, and
// what the ticks make of the workspace on OK.
#include "core/Workspace.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace core {

// One line of the check list: a folder of the scan and its tick; a folder
// whose name no entry can hold as it is may be ticked but is never added.
struct TickedFolder {
    QString entry;
    bool ticked = false;
    bool holdable = true;
};

// The check list for a scan, each folder ticked when the workspace holds
// it. Texts match exactly, case included; only the first line of a text
// counts, and lines that are not holdable match nothing.
QList<TickedFolder> MarkTargetEntries(QList<TickedFolder> scanned, const QStringList &target);

struct TicksApplied {
    Workspace workspace;
    // Ticked folders left out because the workspace file cannot hold their
    // names; they would come back naming other folders: the system's code
    // page has no place for a character of them ...
    QStringList notAdded;
    // ... or the name cannot be an entry as it is (a "\" inside it, bytes
    // that are no text, a leading byte-order mark).
    QStringList notHeldAsIs;
};

// Folders of the tree the dialog showed nothing of: where the scan could not
// list a folder (the folder itself shown), and links it did not follow
// (not shown at all).
struct UnshownFolders {
    QStringList unlisted;
    QStringList linksNotFollowed;
};

// OK: the workspace's entries whose folder is not ticked (or was not found)
// go, except those the dialog never showed: below a folder the scan could
// not list, at or below a link it did not follow, or kept as bytes that are
// no text (holdsKeptBytes), which no line of the dialog carries. Ticked folders it
// lacks follow in scan order; entries that stay keep their order, and the
// selected entry stays selected where it still is (otherwise nothing is).
TicksApplied applyTicks(const Workspace &target, const QList<TickedFolder> &checkList,
                        const UnshownFolders &unshown = {});

} // namespace core
