#pragma once
#include "core/Settings.h"
#include "core/Workspace.h"
#include "platform/ToolLine.h"

#include <QString>
#include <QStringList>

namespace core {

// The settings the lines carry.
inline const QStringList kLineSettings = {kCompiler, kCP, kJavapath, kClassDirectory, kJREpath, kLibpath, kDtPackages};

// The compiler line's words for the workspace's selected entry (none: its
// text is empty): the compiler, "-Xstdout -classpath" and CP, the source
// pattern, "-d" and ClassDirectory when that is set, and the batch file's
// " %1 > .\compile.log", which only a command interpreter reads.
platform::ToolLine compileWords(const Settings &settings, const Workspace &workspace);
// Its text, as Compiler.bat and --print-command hold it.
QString BuildCompileCommand(const Settings &settings, const Workspace &workspace);

// Which compiler a Compiler value starts, known by its program's file name
// ("javac", "ecj" or "jikes", with or without ".exe", in any case).
enum class CompilerKind { Unknown, Javac, Ecj, Jikes };
CompilerKind compilerKind(const QString &compiler);
// Its name as a script reads it: "javac", "ecj", "jikes" or "unknown".
QString compilerKindName(CompilerKind kind);

// The words Compile and --compile start: the line less the interpreter's
// words, which a compiler started directly would take for three more source
// files, and less "-Xstdout" for javac. That is the kit compiler's "messages
// to standard output"; javac reads it as "write them to the file named by
// the next word" and would write them into a file called "-classpath".
platform::ToolLine compileStartWords(const Settings &settings, const Workspace &workspace);

// The editor line's words for a chosen file; empty when the name has no "."
// and so no base name.
platform::ToolLine editorWords(const Settings &settings, const Workspace &workspace, const QString &fileName);
QString BuildEditorCommand(const Settings &settings, const Workspace &workspace, const QString &fileName);

// What a value of the lines names once the tool has read it from its line
// by the Windows rules: its quotes gone; where blanks split it into
// several words, they are joined by one blank again.
QString valueAsRead(const QString &value);

// The editor's package word: the selected entry first and unchanged, then the
// others in list order with "\" turned into ".", each followed by ";".
QString PackageWord(const Workspace &workspace);

} // namespace core
