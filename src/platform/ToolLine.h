#pragma once
// A tool's command line as words that know what they are. The kit's text of
// a line, which Compiler.bat, Editor.bat and --print-command hold, is the
// words joined by one blank. What a started tool is handed is this system's
// own: Windows takes that text as one line and the tool's start-up code
// splits it; elsewhere each word becomes the system's own word ("/" between
// levels, ":" between class path pieces, source patterns expanded), as a
// tool there expects it, with no shell in between.
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

struct ToolWord {
    enum class Kind {
        // The tool itself.
        Program,
        // An option's name, such as "-classpath" or "-d".
        Option,
        // Pieces joined by ";".
        ClassPath,
        // A folder, a file, or a source pattern such as "..\lib\fb\rt\mypkg\*.java".
        Path,
        // The tool's own, handed over as written: the editor's class, block
        // name and package list (which keeps its ";").
        Argument,
        // What only a command interpreter reads ("%1", "> .\compile.log"):
        // written, never started.
        Interpreter,
    };
    Kind kind = Kind::Argument;
    QString text;
};
using ToolLine = QList<ToolWord>;

// The kit's text of the line: every word joined by one blank, empty ones
// included, as the line has always been written.
QString joinedLine(const ToolLine &line);

// The words a Windows program's start-up code makes of the started part of
// a line (the interpreter's words left out), each with the kind of the word
// of `line` it begins in; a word that a blank split off a program's name is
// a path. The first is the program, whatever it began in.
ToolLine wordsAsSplit(const ToolLine &line);

// A line as this system starts it.
struct SystemCommand {
    // The program and its words, as the program receives them.
    QString program;
    QStringList arguments;
    // Windows: the one line the system is given. Elsewhere: the words joined
    // by blanks, each quoted as a shell would need it, for showing.
    QString line;
    bool isEmpty() const { return program.isEmpty(); }
};

// The words of a line (the interpreter's left out) as this system hands them
// to the tool when it is started in workingDirectory, where relative source
// patterns are expanded. The words are split as a Windows program's start-up
// code splits its line, so a blank or an open quote in a value has the same
// effect on every system; each word then takes the kind of the word of
// `line` it begins in.
SystemCommand systemCommand(const ToolLine &line, const QString &workingDirectory);

// A line whose words are not known: its first word is the program, the rest
// are handed on as written.
SystemCommand plainCommand(const QString &line);

// Names in a folder that a source pattern's last level matches ("*" any run
// of characters, "?" one character), in name order: case aside first, then
// exactly. Names beginning with a dot are hidden and left out.
QStringList matchingNames(const QStringList &names, const QString &pattern);

} // namespace platform
