#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Splits one command line into words the way a Windows program's start-up
// code does: blanks and tabs separate words, double quotes group, and
// backslashes are literal unless they precede a double quote.
QStringList splitWindowsCommandLine(const QString &line);

} // namespace platform
