#pragma once
#include "core/Settings.h"
#include "core/Workspace.h"

#include <QString>

namespace core {

// The compiler line for the workspace's selected entry (none: its text is
// empty).
QString BuildCompileCommand(const Settings &settings, const Workspace &workspace);

// The compiler line less its " %1 > .\compile.log" tail, which has a meaning
// only to the command interpreter that runs Compiler.bat; started directly,
// a compiler reads it as three more source names.
QString withoutBatchTail(const QString &compileLine);

// The editor line for a chosen file; empty when the name has no "." and so
// no base name.
QString BuildEditorCommand(const Settings &settings, const Workspace &workspace, const QString &fileName);

// What a value of the lines names once the tool has read it from its line
// by the Windows rules: its quotes gone; where blanks split it into
// several words, they are joined by one blank again.
QString valueAsRead(const QString &value);

// The editor's package word: the selected entry first and unchanged, then the
// others in list order with "\" turned into ".", each followed by ";".
QString PackageWord(const Workspace &workspace);

} // namespace core
