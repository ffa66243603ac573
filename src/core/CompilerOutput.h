#pragma once
#include "core/Workspace.h"
#include "platform/Process.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

namespace core {

enum class Severity { None, Error, Warning };

// One line of the compiler's output as read: an error or a warning with the
// place it names (file empty, line 0: none), or a plain line
// (Severity::None).
struct CompilerMessage {
    Severity severity = Severity::None;
    QString file;
    int line = 0;
    int column = 0;
    QString text;
    // The numbers of the output lines it begins and ends on, from 0.
    qint64 outputLine = 0;
    qint64 lastOutputLine = 0;
};

// Reads the compiler's output line by line. It knows
// - javac's "File.java:12: error: text" (and its Japanese "エラー"/"警告"),
//   and its messages without a place: "error: text", "warning: text",
//   their Japanese forms, an older javac's "javac: text";
// - ecj's block: "1. ERROR in /path/A.java (at line 2)" (or WARNING), the
//   source and caret lines (tab first), then the message's text;
// - the kit compiler's emacs-like "File.java:12:5:12:9: Semantic Error: text",
//   and its default block: "Found 2 semantic errors compiling "File.java":",
//   numbered source lines, then "*** Semantic Error: text", which takes the
//   file from the heading and the line from the first numbered line before
//   it (no place under a heading that names no file).
class CompilerOutputReader
{
public:
    struct Reading {
        // An error or warning that begins on this line (Severity::None: none).
        CompilerMessage message;
        // Or: the line is the text of the last one, which ecj writes below
        // its place.
        bool textOfLast = false;
    };
    Reading read(const QString &line);

private:
    QString m_blockFile;
    int m_blockLine = 0;
    // ecj's place is read; its text is still to come.
    bool m_textDue = false;
};

// A line of output as the window shows it.
struct OutputLine {
    QString text;
    Severity severity = Severity::None;
    // The number of the message it shows (CompileOutput::message); -1 for
    // none.
    qint64 message = -1;
};

// The compiler's output as it grows: bytes in whatever pieces they come,
// cut into lines (LF or CR LF; the system's encoding), each read. The lines
// themselves are handed on, not kept; the window keeps the last
// `keptLines` of them. It counts every error and warning, and keeps the
// messages of those last lines, so that each marked line shown has its
// message; older ones go with their lines.
class CompileOutput
{
public:
    explicit CompileOutput(int keptLines = 10000) : m_keptLines(keptLines) {}

    // The complete lines among what has come so far.
    QList<OutputLine> take(const QByteArray &bytes);
    // The last line, when the output does not end with a line break.
    QList<OutputLine> finish();

    int errors() const { return m_errors; }
    int warnings() const { return m_warnings; }
    // Messages are numbered from 0 in the order read; the kept ones are
    // firstKept() up to messageCount().
    qint64 firstKept() const { return m_dropped; }
    qint64 messageCount() const { return m_dropped + qint64(m_messages.size()); }
    // Nothing for a message that went with its line (or never was).
    const CompilerMessage *message(qint64 number) const;

private:
    void readLine(const QString &text, QList<OutputLine> &out);

    int m_keptLines;
    QByteArray m_partial;
    CompilerOutputReader m_reader;
    std::deque<CompilerMessage> m_messages;
    qint64 m_dropped = 0;
    qint64 m_lines = 0;
    int m_errors = 0;
    int m_warnings = 0;
};

// The file a compiler's message names, in the kit's form ("\" between
// levels): one named relative to the folder the compiler ran in is taken
// from there. Empty for none.
QString messageFilePath(const QString &file, const QString &workingDirectory);

// The function block a Java file of the runtime tree was made from:
// "...\lib\fb\rt\<package>\<Name>.java" gives the package "<package>" and
// the file "<Name>.fbt" below src. A name without a folder is taken to be
// in the package that was compiled. Nothing for any other file.
struct FunctionBlockFile {
    QString package;
    QString fileName;
    // "src\<package>\<Name>.fbt", as the user knows it.
    QString shownPath() const;
};
std::optional<FunctionBlockFile> functionBlockOf(const QString &javaFile, const QString &compiledPackage);

// The editor's workspace for opening a function block of a package: the
// package selected (added at the end when the list does not hold it), so
// that the editor looks there first.
Workspace workspaceFor(Workspace workspace, const QString &package);

// How a compile ended, as the window's last line and the status panel say
// it, in the current language.
struct CompileEnd {
    enum class How { NotStarted, Stopped, Ended };
    How how = How::Ended;
    platform::ProcessEnd end;
    int errors = 0;
    int warnings = 0;
};
QString compileEndText(const CompileEnd &end);
// "status 1", "signal 11 (SIGSEGV)", "exception code 0xC0000005".
QString processEndText(const platform::ProcessEnd &end);
// "2 errors, 1 warning", or that there were none.
QString messageCountText(int errors, int warnings);

} // namespace core
