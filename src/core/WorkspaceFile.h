#pragma once
#include "core/Kit.h"
#include "core/Workspace.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The workspace file, "TAVO_Starter.dat" beside the program: read once when
// the window loads (and by the command line), written once when it unloads.
namespace core {

// Why an entry cannot be one line of the file as it is, so that it would not
// come back unchanged: empty (which would end the entries), holding a line
// break, beginning with U+FEFF (read back as the file's byte-order mark, and
// dropped), or holding a character the code page has no place for.
enum class EntryFault { None, Empty, LineBreak, LeadingMark, OutsideCodePage };
EntryFault entryFault(const QString &entry);
// An entry the file can hold as it is.
bool storableEntry(const QString &entry);
// An entry read from bytes that are no text in the file's code page (a Linux
// folder name that is not UTF-8): it keeps those bytes, and is written back
// as them, though no folder the scan shows carries its text.
bool holdsKeptBytes(const QString &entry);

// The workspace file as lines ended by CR LF, in the system's 8-bit code
// page: the entries, two empty lines, the selected entry, EditFileName.
// Lines whose bytes are no text in it are read as text that keeps those
// bytes (holdsKeptBytes), so they are written back byte for byte.
// Entries that cannot be stored as they are (entryFault) are left out; so is
// such a selected entry, or an EditFileName with a line break or a
// character outside the code page, whose line then stays empty.
QByteArray serializeWorkspace(const Workspace &workspace);

// What a workspace file yields, read line by line: entries are only taken
// once the selected-entry line has been read; EditFileName only when its
// line is there too.
struct WorkspaceContent {
    std::optional<QStringList> entries;
    QString selectedText;
    std::optional<QString> EditFileName;
};
WorkspaceContent parseWorkspace(const QByteArray &bytes);

// The workspace after the file has been read over `start`: its entries
// appended, the first entry equal to the selected text selected (otherwise
// the selection as it was), EditFileName taken when the file has its line.
struct WorkspaceRead {
    Workspace workspace;
    // The file is there but gave no entry (held by another program, or cut
    // short before its two empty lines): it still holds the user's list.
    bool fileUnread = false;
};
WorkspaceRead readWorkspaceFile(const Kit &kit, Workspace start = {});

// Writes the file whole and then puts it in place; where the kit folder
// takes no new file but the file may be written, in place. False when
// nothing was written.
bool writeWorkspaceFile(const Kit &kit, const Workspace &workspace);

} // namespace core
