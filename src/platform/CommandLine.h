#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Splits one command line into words the way a Windows program's start-up
// code does: blanks and tabs separate words, double quotes group, and
// backslashes are literal unless they precede a double quote. quoteOpen,
// when given, tells whether the line ends inside quotes.
QStringList splitWindowsCommandLine(const QString &line, bool *quoteOpen = nullptr);

// The same words, each with the place in the line where it begins.
struct WordAt {
    QString text;
    int begin = 0;
};
QList<WordAt> splitWindowsCommandLineAt(const QString &line, bool *quoteOpen = nullptr);

// The same for a piece of a line that stands after the program's word,
// whose words follow the argument rules from the first on. A piece that
// ends inside quotes (quoteOpen) would take what follows it in its line
// into its last word.
QStringList splitWindowsArguments(const QString &piece, bool *quoteOpen = nullptr);

} // namespace platform
