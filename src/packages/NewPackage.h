#pragma once
#include <QString>

class MainContext;

namespace packages {

// "&New...": asks for a name, makes its source and library folders, adds it.
void cmdNewDir_Click(MainContext &ctx);

// Makes appPath\src\<name>, then appPath\lib\fb\rt\<name>, one level each,
// stopping at the first that cannot be made (what was made stays). True
// when both were made. The name is used as typed.
bool makePackageDirectories(const QString &appPath, const QString &name);

} // namespace packages
