#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace workspace {

QString workspaceFilePath(const QString &appPath);

// An entry the file can hold as it is, so that it comes back unchanged.
bool storableEntry(const QString &entry);

// The workspace file as lines ended by CR LF, in the system's 8-bit code
// page: the entries, two empty lines, the selected entry, EditFileName.
// Entries that cannot be stored as one line (empty ones, which would end the
// entries, ones holding a line break, and ones with a character the code
// page has no place for) are left out; so is such a selected entry or
// EditFileName, whose line then stays empty.
QByteArray serializeWorkspace(const QStringList &entries, int selected, const QString &editFileName);

// What a workspace file yields, read the way the loader reads it: entries are
// only taken once the selected-entry line has been read; EditFileName only
// when its line is there too.
struct WorkspaceContent {
    std::optional<QStringList> entries;
    QString selectedText;
    std::optional<QString> editFileName;
};
WorkspaceContent parseWorkspace(const QByteArray &bytes);

} // namespace workspace
