// The Editor.bat and Compiler.bat imports: item rules, both markers, the word
// split and the package word, and what the imported list does to the
// workspace file saved at exit.
#include "FuzzCheck.h"
#include "core/BatchFormat.h"
#include "core/CommandLines.h"
#include "core/WorkspaceFile.h"

#include <QByteArray>
#include <QHash>

#include <cstdint>

namespace {


void checkImport(const core::BatchImport &import, const QStringList &keys)
{
    FUZZ_CHECK(import.values.size() <= keys.size(), "more values than the import copies");
    for (int i = 0; i < import.values.size(); ++i) {
        FUZZ_CHECK(import.values[i].first == keys[i], "values copied out of order");
        // Only a quoted program keeps its blanks.
        const QString &word = import.values[i].second;
        FUZZ_CHECK(!word.contains(QLatin1Char(' ')) || (i == 0 && word.startsWith(QLatin1Char('"'))),
                   "a word holds a space");
    }
    if (import.complete)
        FUZZ_CHECK(import.values.size() == keys.size(), "a complete import left a value out");
}

// Words the batch files carry whole: no separator of items or words.
QString wordOf(QString v)
{
    for (const char c : {' ', ',', '"', '\r', '\n', ';'})
        v.remove(QLatin1Char(c));
    return v;
}

void rawFile(const QByteArray &bytes)
{
    const core::BatchImport compiler = core::importCompilerBatch(bytes);
    checkImport(compiler, {core::kCompiler, core::kCP});
    FUZZ_CHECK(!compiler.entries, "the compiler import touched the list");
    FUZZ_CHECK(compiler.complete == (compiler.values.size() == 2), "CP is the compiler import's last step");

    const core::BatchImport editor = core::importEditorBatch(bytes);
    checkImport(editor, {core::kJREpath, core::kLibpath});
    FUZZ_CHECK(editor.complete == editor.entries.has_value(), "a complete editor import sets the list");
    if (!editor.entries)
        return;
    const QStringList &entries = *editor.entries;
    FUZZ_CHECK(!entries.isEmpty(), "an import emptied the list");
    FUZZ_CHECK(editor.selectedIndex == (entries.isEmpty() ? -1 : 0),
               "the first piece is the first entry and the one selected");
    for (const QString &e : entries)
        FUZZ_CHECK(!e.contains(QLatin1Char(';')) && !e.contains(QLatin1Char(' ')), "an entry holds a separator");

    // The imported list is what the window saves at exit: the saved file
    // must read back to it, less the entries a line of the file cannot hold
    // (empty ones, and those a quoted item carried a line break into).
    QStringList kept;
    for (const QString &e : entries)
        if (!e.isEmpty() && !holdsLineBreak(e))
            kept << e;
    const int selected = editor.selectedIndex >= 0 ? int(kept.indexOf(entries[editor.selectedIndex])) : -1;
    const core::WorkspaceContent back =
        core::parseWorkspace(core::serializeWorkspace({entries, editor.selectedIndex, QString()}));
    FUZZ_CHECK(back.entries && *back.entries == kept, "an imported list is saved so that it reads back differently");
    FUZZ_CHECK(int(back.entries->indexOf(back.selectedText)) == selected, "the imported selection is lost on save");
}

// Export followed by import gives back what the two files carry.
void exportImport(const QByteArray &bytes)
{
    const QStringList parts = QString::fromUtf8(bytes).split(QChar(0));
    if (parts.size() < 8)
        return;
    core::Settings s;
    const QStringList keys = {core::kJREpath, core::kLibpath, core::kDtPackages,
                              core::kJavapath, core::kCP, core::kCompiler,
                              core::kClassDirectory};
    for (int i = 0; i < keys.size(); ++i)
        s.setValue(keys[i], wordOf(parts[i]));
    QStringList entries;
    for (int i = keys.size(); i < parts.size(); ++i) {
        const QString e = wordOf(parts[i]);
        if (!e.isEmpty())
            entries << e;
    }
    const int selected = entries.isEmpty() ? -1 : int(quint8(bytes.at(0)) % entries.size());

    const core::Workspace w{entries, selected, {}};
    const QString compileLine = core::BuildCompileCommand(s, w);
    const auto compilerBytes = core::compilerBatchBytes(core::compileWords(s, w));
    FUZZ_CHECK(compilerBytes.has_value(), "a compiler line of whole characters was refused");
    const core::BatchImport compiler = core::importCompilerBatch(*compilerBytes);
    const bool compilerFound = compileLine.contains(core::kCompilerBatchMarker);
    FUZZ_CHECK(compiler.complete == compilerFound, "the compiler line is not found by its marker");
    if (compilerFound && !s.value(core::kCompiler).isEmpty()) {
        FUZZ_CHECK(compiler.values[0].second == s.value(core::kCompiler), "Compiler does not come back");
        FUZZ_CHECK(compiler.values[1].second == s.value(core::kCP), "CP does not come back");
    }

    const QString editorLine = core::BuildEditorCommand(s, w, QStringLiteral("MyFB.fbt"));
    const auto editorBytes = core::editorBatchBytes(core::editorWords(s, w, QStringLiteral("MyFB.fbt")));
    FUZZ_CHECK(editorBytes.has_value(), "an editor line for a name with an extension was refused");
    const core::BatchImport editor = core::importEditorBatch(*editorBytes);
    const bool editorFound = editorLine.contains(core::kEditorBatchMarker);
    // An empty JREpath leaves a blank at the start of the line, which the
    // item rules skip: the words move along and the import fails.
    if (!s.value(core::kJREpath).isEmpty())
        FUZZ_CHECK(editor.complete == editorFound, "the editor line is not found by its marker");
    if (editorFound && !s.value(core::kJREpath).isEmpty()) {
        FUZZ_CHECK(editor.values[0].second == s.value(core::kJREpath), "JREpath does not come back");
        FUZZ_CHECK(editor.values[1].second == s.value(core::kLibpath), "libpath does not come back");
        QStringList expected;
        expected << (selected >= 0 ? entries[selected] : QString());
        for (int i = 0; i < entries.size(); ++i)
            if (i != selected)
                expected << QString(entries[i]).replace(QLatin1Char('\\'), QLatin1Char('.'));
        FUZZ_CHECK(*editor.entries == expected, "the list does not come back as exported");
        FUZZ_CHECK(editor.selectedIndex == 0, "the entry selected at export is not selected again");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    rawFile(bytes);
    exportImport(bytes);
    return 0;
}
