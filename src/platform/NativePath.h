#pragma once
#include <QString>

namespace platform {

// Paths inside the program keep backslashes between levels, whatever the
// system; this turns one into the form the file system wants.
QString nativePath(const QString &path);

// A path of that form as the user's system writes it, "." and ".." levels
// resolved: for what a user reads.
QString systemPath(const QString &path);

} // namespace platform
