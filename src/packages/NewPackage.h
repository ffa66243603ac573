#pragma once
#include <QString>

class MainContext;

namespace packages {

// "&New...": asks for a name, makes its source and library folders, adds it.
void cmdNewDir_Click(MainContext &ctx);

// Why a typed name cannot be a package, as a message id of the string table,
// or 0 when it can: it must stay below the source root (levels joined by "\"
// or "/", none empty, "." or "..", no drive), and the workspace file must be
// able to hold it as it is.
int packageNameProblem(const QString &name);

// Makes appPath\src\<name>, then appPath\lib\fb\rt\<name>, one level each,
// stopping at the first that cannot be made (what was made stays). True
// when both were made. The name is used as typed.
bool makePackageDirectories(const QString &appPath, const QString &name);

} // namespace packages
