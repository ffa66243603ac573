#pragma once
#include "core/Kit.h"

#include <QString>

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

// Makes the package's folder below the source root, then its runtime folder
// below the library root, one level each, stopping at the first that cannot
// be made (what was made stays). True when both were made.
bool makePackageDirectories(const Kit &kit, const QString &name);

} // namespace core
