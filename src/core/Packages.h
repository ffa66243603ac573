#pragma once
#include "core/Kit.h"

#include <QString>
#include <QStringList>

namespace core {

// A name in entry form that names a folder below the source root, not the
// root itself nor one outside it: levels joined by "\" or "/", none empty,
// "." or "..", and no drive.
bool staysBelowSourceRoot(const QString &name);

// Why a typed name cannot be a package, as a message id of the string table,
// or 0 when it can: it must stay below the source root (levels joined by "\"
// or "/", none empty, "." or "..", no drive), no level may end in a blank or
// a dot (Windows drops them, and the entry would name no folder), and the
// workspace file must be able to hold it as it is.
int packageNameProblem(const QString &name);

// A typed name in the list's own form: "/" between levels becomes "\".
QString packageEntry(const QString &name);

// What New made of a package's two folders, or why it made nothing. Folders
// are named below the kit folder, levels joined by "\\" (src\\a\\b).
struct PackageFolders {
    enum class Outcome {
        Made,
        Exists,          // folder: the package's folder that is there already
        LevelsMissing,   // missingLevels: the levels above it that are not there
        RootMissing,     // folder: the package's folder; root: the tree's own folder, missing
        NameTooLong,     // folder: the one the system refused for its length
        NotMade,         // folder: the one the system refused for another reason
    };
    Outcome outcome = Outcome::Made;
    QString folder;
    QString root;
    QStringList missingLevels;
};

// Makes the package's folder below the source root and its runtime folder
// below the runtime root. Nothing is made when either cannot be: both are
// looked at first (one there already, a level above them missing), and
// what was made is taken away again when the system refuses the rest.
// Missing levels above them are made as well when asked, but never the
// two roots themselves nor anything above them.
PackageFolders makePackageFolders(const Kit &kit, const QString &entry, bool makeMissingLevels);

} // namespace core
