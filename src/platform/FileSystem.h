#pragma once
#include <QString>

namespace platform {

// Each returns false when the system refuses; callers decide whether that
// matters. Paths may use backslashes between levels.
bool changeDirectory(const QString &path);
QString currentDirectory();
// Creates one directory level; an existing directory counts as a failure.
bool makeDirectory(const QString &path);

} // namespace platform
