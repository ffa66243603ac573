#pragma once
// What the kit check says of the kit's tools beyond their being there: the
// compiler's kind with the words it is started with, the Java installations
// the machine has, and the mends Check Kit offers: an installation's program
// for a JREpath or Compiler that points at nothing, quotes for a value that
// an unquoted blank splits, a class folder made.
#include "core/Kit.h"
#include "core/KitCheck.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "platform/JavaInstallations.h"

#include <QList>
#include <QString>

namespace core {

// The setting column of the rows about the Java installations.
inline const QString kCheckJava = QStringLiteral("Java");

// One row for the compiler: its kind, and as its path the words it is
// started with, as this system is given them. One row per installation
// found; when none is, one row that says so, a warning while JREpath or
// Compiler points at nothing.
QList<KitFinding> toolFindings(const Kit &kit, const Settings &settings, const Workspace &workspace,
                               const QList<platform::JavaInstallation> &java);

// Gives the findings their mends, each to the row of its setting that it
// sets right: every installation's java for a JREpath, and its javac for a
// Compiler, that starts nothing; "quote it" for a value an unquoted blank
// splits (a program's only where the quoted name is a program); "make it"
// for a ClassDirectory that is not there and whose nearest folder above is.
void attachMends(QList<KitFinding> &findings, const Kit &kit, const Settings &settings,
                 const QList<platform::JavaInstallation> &java);

// The value as its tool reads it in one word: in double quotes where it
// holds a blank or a tab, any "\" at its end left after the closing quote
// (where it would escape the quote); as it is otherwise. Empty when quotes
// cannot make it one word: it holds one already.
QString quotedValue(const QString &value);

// Takes a MakeFolder mend: false when the folder could not be made.
bool makeMendFolder(const KitMend &mend);

} // namespace core
