#pragma once
#include <QString>

namespace app {

// The folder of the running program file, without a trailing separator.
QString AppPath();
// The kit's source and library roots below a given AppPath.
QString SrcDir(const QString &appPath);
QString LibDir(const QString &appPath);

} // namespace app
