#pragma once
#include <QString>

namespace platform {

// Each returns false when the system refuses; callers decide whether that
// matters. Paths may use backslashes between levels.
bool changeDirectory(const QString &path);
QString currentDirectory();
// Creates one directory level; an existing directory counts as a failure.
bool makeDirectory(const QString &path);
// Writes a file whole and then puts it in place, so a failed write leaves the
// previous file as it was. With inPlaceFallback an existing file that may be
// written, in a folder where no new file can be made, is written over in
// place instead (and cut to length), on every system.
bool writeFileWhole(const QString &path, const QByteArray &bytes, bool inPlaceFallback = false);

} // namespace platform
