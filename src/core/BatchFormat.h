#pragma once
// Reading and writing Editor.bat and Compiler.bat.
//
// Everything here works on bytes and strings only, so that it can be tested
// and fuzzed without a window.
#include "platform/ToolLine.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace core {

inline const QString kEditorBatchMarker = QStringLiteral("\\bin");
inline const QString kCompilerBatchMarker = QStringLiteral("bin\\");

// The lines, each ended by CR LF, in the code page the command interpreter
// reads them in; nothing when a character has no place in it (it would be
// written as another one).
std::optional<QByteArray> batchFileBytes(const QStringList &lines);

// The characters of a value that the command interpreter would take for its
// own in a batch file of the user's: "%" anywhere, and "&", "|", "<", ">"
// and "^" outside quotes. Empty when there are none.
QString batchSpecials(const QString &value);
// A tool's line as a batch file must hold it for the interpreter to run it
// as built: in every word but the interpreter's own ("%1", "> ..."), "%"
// doubled and the others above, outside quotes, behind "^".
QString batchLine(const platform::ToolLine &words);
// A batch file's text as the interpreter reads its lines: those escapes
// undone.
QString batchTextAsRead(const QString &text);

// The whole Editor.bat for the editor line's words; nothing when the line
// could not be built (no words) or written, so that a failed export never
// writes a partial or altered file.
std::optional<QByteArray> editorBatchBytes(const platform::ToolLine &editorWords);
// The whole Compiler.bat for the compiler line's words, as far as it can be
// written.
std::optional<QByteArray> compilerBatchBytes(const platform::ToolLine &compileWords);

// Hands out the items of a batch file one at a time: items are separated by
// commas and line ends (CR LF, CR or LF), an empty line is an empty item,
// and spaces before an item are skipped. An item that starts with a double
// quote keeps it: up to the next double quote on its line nothing
// separates, and it goes on from there to the next separator.
class BatchItemReader
{
public:
    explicit BatchItemReader(const QString &text);
    // The next item, or nothing at the end of the text.
    std::optional<QString> next();

private:
    QString m_text;
    int m_pos = 0;
};

// The first item of the file's text, read in the interpreter's code page
// and with its escapes undone, that contains the marker (exact,
// case-sensitive), or nothing.
std::optional<QString> findCommandLine(const QByteArray &bytes, const QString &marker);

// The words of a command line: split at every single space, so two spaces in
// a row give an empty word between them. A line that starts with a quoted
// program keeps it as one word, quotes and blanks included.
QStringList splitWords(const QString &line);

// The list entries a package word gives back: the pieces between ";" except
// the last one, which for a written word is the empty text after the final
// ";".
QStringList packageEntries(const QString &packageWord);

// What an import takes from a file. The values are in the order in which
// they are copied; when the import fails part-way they are those copied
// before the failure, and they stay copied.
struct BatchImport {
    QList<QPair<QString, QString>> values;  // setting key, new value
    std::optional<QStringList> entries;     // editor import: the new list
    int selectedIndex = -1;                 // within entries
    bool complete = false;
};

// Compiler.bat: word 0 is Compiler, word 3 is CP.
BatchImport importCompilerBatch(const QByteArray &bytes);
// Editor.bat: word 0 is JREpath, word 2 is libpath, word 5 the package word.
// A package word that gives no entry fails the import.
BatchImport importEditorBatch(const QByteArray &bytes);

enum class BatchFile { Editor, Compiler };
// The import of a file on disk; one that cannot be read gives nothing.
BatchImport importBatchFile(const QString &path, BatchFile which);

} // namespace core
