#pragma once
#include "core/Workspace.h"
#include "platform/Process.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace core {

enum class Severity { None, Error, Warning };

// One line of the compiler's output as read: an error or a warning with the
// place it names (line 0: none), or a plain line (Severity::None).
struct CompilerMessage {
    Severity severity = Severity::None;
    QString file;
    int line = 0;
    int column = 0;
    QString text;
};

// Reads the compiler's output line by line. It knows javac's
// "File.java:12: error: text" (and its Japanese "エラー"/"警告"), the kit
// compiler's emacs-like "File.java:12:5:12:9: Semantic Error: text", and its
// default block: "Found 2 semantic errors compiling "File.java":", numbered
// source lines, then "*** Semantic Error: text", which takes the file from
// the heading and the line from the first numbered line before it.
class CompilerOutputReader
{
public:
    CompilerMessage read(const QString &line);

private:
    QString m_blockFile;
    int m_blockLine = 0;
};

// A line of output as the window shows it.
struct OutputLine {
    QString text;
    Severity severity = Severity::None;
    // Its place among the kept messages; -1 for none.
    int message = -1;
};

// The compiler's output as it grows: bytes in whatever pieces they come,
// cut into lines (LF or CR LF; the system's code page), each read. It keeps
// the counts and the first `keptMessages` errors and warnings with their
// places; the lines themselves are handed on, not kept.
class CompileOutput
{
public:
    explicit CompileOutput(int keptMessages = 10000) : m_keptMessages(keptMessages) {}

    // The complete lines among what has come so far.
    QList<OutputLine> take(const QByteArray &bytes);
    // The last line, when the output does not end with a line break.
    QList<OutputLine> finish();

    int errors() const { return m_errors; }
    int warnings() const { return m_warnings; }
    const QList<CompilerMessage> &messages() const { return m_messages; }

private:
    void readLine(const QString &text, QList<OutputLine> &out);

    int m_keptMessages;
    QByteArray m_partial;
    CompilerOutputReader m_reader;
    QList<CompilerMessage> m_messages;
    int m_errors = 0;
    int m_warnings = 0;
};

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
