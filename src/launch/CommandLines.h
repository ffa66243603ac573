#pragma once
#include <QString>
#include <QStringList>

class SettingsAccess;

namespace launch {

// The text of the selected entry; empty when none is selected (selected < 0).
QString selectedEntry(const QStringList &entries, int selected);

// The compiler line for the selected entry (selected < 0: none).
QString BuildCompileCommand(SettingsAccess &settings, const QStringList &entries, int selected);

// The compiler line less its " %1 > .\compile.log" tail, which has a meaning
// only to the command interpreter that runs Compiler.bat; started directly,
// a compiler reads it as three more source names.
QString withoutBatchTail(const QString &compileLine);

// The editor line for a chosen file; empty when the name has no "." and so
// no base name.
QString BuildEditorCommand(SettingsAccess &settings, const QStringList &entries, int selected,
                           const QString &fileName);

// The editor's package word: the selected entry first and unchanged, then the
// others in list order with "\" turned into ".", each followed by ";".
QString PackageWord(const QStringList &entries, int selected);

} // namespace launch
