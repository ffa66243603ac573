#pragma once
#include <QString>

namespace platform {

// Paths inside the program keep backslashes between levels, whatever the
// system; this turns one into the form the file system wants.
QString nativePath(const QString &path);

} // namespace platform
