#pragma once
// Finding the system-information program and opening the help page.
#include "platform/RegistryDecode.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace platform {

// One value of the system registry, decoded as platform::keyValueResult
// says; on failure the value is emptied and false returned. Where the system
// has no registry, only the value that names the system-information
// program's path is answered, by looking for the program on the PATH (see
// systemInfoPrograms()); every other value is missing.
bool getKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName,
                 QString &value);

// An existing plain file: not a directory, neither hidden nor system.
bool isPlainFile(const QString &path);

// Opens a page in the browser without waiting; false when nothing could be
// started. Windows: the browser at its fixed path, the page unquoted after
// one blank.
bool openHelpPage(const QString &pagePath);

// The Windows browser's fixed path.
QString browserProgram();

// Without a registry: the programs looked for on the PATH, first found wins.
QStringList systemInfoPrograms();

} // namespace platform
