#include "core/BatchFormat.h"
#include "core/CommandLines.h"

#include "support/CoreValues.h"

#include <QHash>
#include <QtTest>

namespace {

core::Settings exampleSettings()
{
    return settingsWith({
        {core::kJREpath, QStringLiteral("..\\bin\\jre")},
        {core::kLibpath, QStringLiteral("..\\lib;..\\fb.jar;..\\fbrt.jar;")},
        {core::kDtPackages, QStringLiteral("mydata")},
        {core::kCompiler, QStringLiteral("..\\bin\\jikes")},
        {core::kCP, QStringLiteral("..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;")},
        {core::kJavapath, QStringLiteral("..\\lib\\fb\\rt\\")},
    });
}

const QByteArray kEditorLine = "..\\bin\\jre -cp ..\\lib;..\\fb.jar;..\\fbrt.jar; Editor MyFB hmi;net;mypkg.util; mydata";
const QByteArray kCompilerLine = "..\\bin\\jikes -Xstdout -classpath ..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;"
                                 "..\\fbrt.jar;..\\fb.jar; ..\\lib\\fb\\rt\\mypkg\\*.java %1 > .\\compile.log";

QStringList allItems(const QByteArray &bytes)
{
    core::BatchItemReader reader(QString::fromLocal8Bit(bytes));
    QStringList items;
    while (const auto item = reader.next())
        items << *item;
    return items;
}

using Values = QList<QPair<QString, QString>>;

} // namespace

class TestBatchFormat : public QObject
{
    Q_OBJECT
private slots:
    void exportsAreByteExact();
    void editorExportWithoutLineWritesNothing();
    void exportUsesTheInterpretersCodePage();
    void interpreterCharacters_data();
    void interpreterCharacters();

    void itemRules_data();
    void itemRules();

    void markerSearch_data();
    void markerSearch();
    void wordsSplitAtEverySpace();
    void packageWordPieces_data();
    void packageWordPieces();

    void roundTripsOfTheExample();
    void quotedProgramsRoundTrip();
    void compilerImportFailures();
    void editorImportFailures();
    void listWithoutSelectionComesBackWithEmptyFirstEntry();
    void hostileInputNeverCrashes();
};

void TestBatchFormat::exportsAreByteExact()
{
    core::Settings s = exampleSettings();
    const QStringList list{QStringLiteral("net"), QStringLiteral("mypkg\\util"), QStringLiteral("hmi")};
    const auto editor = core::editorBatchBytes(core::editorWords(s, core::Workspace{list, 2, {}}, QStringLiteral("MyFB.fbt")));
    QVERIFY(editor);
    QCOMPARE(*editor, QByteArray("REM IEC 61499 Editor\r\ncd src\r\n") + kEditorLine + "\r\n");

    const QStringList one{QStringLiteral("mypkg")};
    QCOMPARE(core::compilerBatchBytes(core::compileWords(s, core::Workspace{one, 0, {}})).value_or("<none>"),
             QByteArray("del compile.log\r\n") + kCompilerLine + "\r\n");

    s.setValue(core::kClassDirectory, QStringLiteral("classes"));
    const QByteArray withClasses = core::compilerBatchBytes(core::compileWords(s, core::Workspace{one, 0, {}})).value_or("");
    QVERIFY(withClasses.endsWith("\\mypkg\\*.java -d classes %1 > .\\compile.log\r\n"));
    QCOMPARE(withClasses.count("\r\n"), 2);
}

void TestBatchFormat::editorExportWithoutLineWritesNothing()
{
    core::Settings s = exampleSettings();
    QVERIFY(!core::editorBatchBytes(core::editorWords(s, core::Workspace{{QStringLiteral("hmi")}, 0, {}}, QStringLiteral("MyFB"))));
}

// In the code page the command interpreter reads batch files in (on
// Windows the console's OEM page, 437 or 850 where the tests run, in which
// "é" is 0x82, not 1252's 0xE9; UTF-8 here); a line it cannot hold is not
// written at all, never as "?" or a look-alike.
void TestBatchFormat::exportUsesTheInterpretersCodePage()
{
    const QString text = QStringLiteral("caf\u00e9");
#ifdef Q_OS_WIN
    QCOMPARE(core::batchFileBytes({text}).value_or("<none>"), QByteArray("caf\x82\r\n"));
    QCOMPARE(core::importCompilerBatch("..\\bin\\jikes a b caf\x82\r\n").values.value(1).second, text);
    const QString outside = QStringLiteral("..\\\u0101\\bin\\jikes");
#else
    QCOMPARE(core::batchFileBytes({text}).value_or("<none>"), QByteArray("caf\xc3\xa9\r\n"));
    const QString outside = QStringLiteral("..\\bin\\jikes") + QChar(0xD800);
#endif
    const core::Settings s = settingsWith({{core::kCompiler, outside}, {core::kJREpath, outside}});
    QVERIFY(!core::compilerBatchBytes(core::compileWords(s, {})));
    QVERIFY(!core::editorBatchBytes(core::editorWords(s, {}, QStringLiteral("F.fbt"))));
}

// What the interpreter would take for its own is written so that it runs
// the line as built, and read back as the interpreter reads it.
void TestBatchFormat::interpreterCharacters_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("written");
    QTest::newRow("ampersand and percent") << "-classpath ..\\lib\\R&D\\x.jar;..\\lib\\50%off.jar;"
                                           << "-classpath ..\\lib\\R^&D\\x.jar;..\\lib\\50%%off.jar;";
    QTest::newRow("pipe, redirections and caret") << "a|b<c>d^e" << "a^|b^<c^>d^^e";
    QTest::newRow("inside quotes only percent") << "\"R&D %x%\" y&z" << "\"R&D %%x%%\" y^&z";
    QTest::newRow("nothing to escape") << "..\\bin\\jre -cp a;b" << "..\\bin\\jre -cp a;b";
}

void TestBatchFormat::interpreterCharacters()
{
    QFETCH(QString, line);
    QFETCH(QString, written);
    QCOMPARE(core::batchLine({{platform::ToolWord::Kind::Argument, line}}), written);
    QCOMPARE(core::batchTextAsRead(written), line);
}

void TestBatchFormat::itemRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("crlf lines") << QByteArray("a b\r\nc\r\n") << QStringList{"a b", "c"};
    QTest::newRow("lf only") << QByteArray("a b\nc\n") << QStringList{"a b", "c"};
    QTest::newRow("cr only") << QByteArray("a b\rc\r") << QStringList{"a b", "c"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines are empty items") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("cr lf cr") << QByteArray("a\r\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("commas separate") << QByteArray("a,b c,d\r\n") << QStringList{"a", "b c", "d"};
    QTest::newRow("comma before line end") << QByteArray("a,\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("leading spaces skipped, trailing kept") << QByteArray("   a b  \r\n  ,  c")
                                                           << QStringList{"a b  ", "", "c"};
    // A quoted start keeps its quotes, and what follows them.
    QTest::newRow("quoted item keeps commas") << QByteArray("\"a, b\",c\r\n") << QStringList{"\"a, b\"", "c"};
    QTest::newRow("quoted item after spaces") << QByteArray("  \"x y\"\r\n") << QStringList{"\"x y\""};
    QTest::newRow("text after closing quote kept") << QByteArray("\"a b\" c,d,e") << QStringList{"\"a b\" c", "d", "e"};
    QTest::newRow("quote ends with its line") << QByteArray("\"a,b\r\nc\",d") << QStringList{"\"a,b", "c\"", "d"};
    QTest::newRow("quote inside an item is kept") << QByteArray("a\"b\"c") << QStringList{"a\"b\"c"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestBatchFormat::itemRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, items);
    QCOMPARE(allItems(bytes), items);
}

void TestBatchFormat::markerSearch_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("found");  // "<none>" when nothing is found

    const QString none = QStringLiteral("<none>");
    QTest::newRow("compiler line after del") << (QByteArray("del compile.log\r\n") + kCompilerLine + "\r\n")
                                             << core::kCompilerBatchMarker << QString::fromLatin1(kCompilerLine);
    QTest::newRow("editor line after REM and cd")
        << (QByteArray("REM IEC 61499 Editor\r\ncd src\r\n") + kEditorLine + "\r\n") << core::kEditorBatchMarker
        << QString::fromLatin1(kEditorLine);
    QTest::newRow("upper case does not match") << QByteArray("..\\BIN\\jikes a b c\r\n")
                                               << core::kCompilerBatchMarker << none;
    QTest::newRow("earlier REM line wins") << QByteArray("REM uses bin\\ tools\r\n..\\bin\\jikes a b c\r\n")
                                           << core::kCompilerBatchMarker << QStringLiteral("REM uses bin\\ tools");
    QTest::newRow("editor marker is the other way round") << QByteArray("bin\\jre x\r\n")
                                                          << core::kEditorBatchMarker << none;
    QTest::newRow("marker in a later comma item") << QByteArray("a,x\\bin y\r\n") << core::kEditorBatchMarker
                                                  << QStringLiteral("x\\bin y");
    QTest::newRow("marker only across items") << QByteArray("x\\b,in\r\n") << core::kEditorBatchMarker << none;
}

void TestBatchFormat::markerSearch()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, marker);
    QFETCH(QString, found);
    const auto line = core::findCommandLine(bytes, marker);
    QCOMPARE(line ? *line : QStringLiteral("<none>"), found);
}

void TestBatchFormat::wordsSplitAtEverySpace()
{
    QCOMPARE(core::splitWords(QStringLiteral("a  b c ")), (QStringList{"a", "", "b", "c", ""}));
    QCOMPARE(core::splitWords(QStringLiteral("abc")), QStringList{"abc"});
}

void TestBatchFormat::packageWordPieces_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("as written") << "hmi;net;mypkg.util;" << QStringList{"hmi", "net", "mypkg.util"};
    QTest::newRow("no final ; loses the last package") << "hmi;net" << QStringList{"hmi"};
    QTest::newRow("no ; at all") << "hmi" << QStringList{};
    QTest::newRow("empty word") << "" << QStringList{};
    QTest::newRow("backslashes kept") << "a\\b;c;" << QStringList{"a\\b", "c"};
}

void TestBatchFormat::packageWordPieces()
{
    QFETCH(QString, word);
    QFETCH(QStringList, entries);
    QCOMPARE(core::packageEntries(word), entries);
}

void TestBatchFormat::roundTripsOfTheExample()
{
    core::Settings s = exampleSettings();
    const QStringList list{QStringLiteral("net"), QStringLiteral("mypkg\\util"), QStringLiteral("hmi")};

    const auto editor = core::importEditorBatch(
        *core::editorBatchBytes(core::editorWords(s, core::Workspace{list, 2, {}}, QStringLiteral("MyFB.fbt"))));
    QVERIFY(editor.complete);
    QCOMPARE(editor.values, (Values{{core::kJREpath, "..\\bin\\jre"},
                                    {core::kLibpath, "..\\lib;..\\fb.jar;..\\fbrt.jar;"}}));
    QVERIFY(editor.entries);
    QCOMPARE(*editor.entries, (QStringList{"hmi", "net", "mypkg.util"}));
    QCOMPARE(editor.selectedIndex, 0);

    // The selected entry comes back first and unchanged.
    const auto fromSubpackage = core::importEditorBatch(
        *core::editorBatchBytes(core::editorWords(s, core::Workspace{list, 1, {}}, QStringLiteral("MyFB.fbt"))));
    QCOMPARE(*fromSubpackage.entries, (QStringList{"mypkg\\util", "net", "hmi"}));
    QCOMPARE(fromSubpackage.selectedIndex, 0);

    s.setValue(core::kClassDirectory, QStringLiteral("classes"));
    const auto compiler =
        core::importCompilerBatch(*core::compilerBatchBytes(core::compileWords(s, core::Workspace{list, 2, {}})));
    QVERIFY(compiler.complete);
    QCOMPARE(compiler.values,
             (Values{{core::kCompiler, "..\\bin\\jikes"},
                     {core::kCP, "..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;"}}));
    QVERIFY(!compiler.entries);
}

// A quoted program, and values the interpreter would otherwise take for
// its own, come back as they were exported.
void TestBatchFormat::quotedProgramsRoundTrip()
{
    core::Settings s = exampleSettings();
    s.setValue(core::kJREpath, QStringLiteral("\"..\\my jre\\bin\\java\""));
    s.setValue(core::kCompiler, QStringLiteral("\"..\\my tools\\bin\\jikes\""));
    s.setValue(core::kCP, QStringLiteral("..\\lib\\R&D\\x.jar;..\\lib\\50%off.jar;"));
    const core::Workspace w{{QStringLiteral("hmi")}, 0, {}};
    const QByteArray compilerBat = core::compilerBatchBytes(core::compileWords(s, w)).value_or("");
    QCOMPARE(compilerBat, QByteArray("del compile.log\r\n\"..\\my tools\\bin\\jikes\" -Xstdout -classpath "
                                     "..\\lib\\R^&D\\x.jar;..\\lib\\50%%off.jar; ..\\lib\\fb\\rt\\hmi\\*.java "
                                     "%1 > .\\compile.log\r\n"));
    QCOMPARE(core::importCompilerBatch(compilerBat).values,
             (Values{{core::kCompiler, s.value(core::kCompiler)}, {core::kCP, s.value(core::kCP)}}));
    const auto editor = core::importEditorBatch(
        core::editorBatchBytes(core::editorWords(s, w, QStringLiteral("MyFB.fbt"))).value_or(""));
    QVERIFY(editor.complete);
    QCOMPARE(editor.values.value(0).second, s.value(core::kJREpath));
    // Left open, the quote is kept and the word ends at the blank.
    QCOMPARE(core::splitWords(QStringLiteral("\"a b -cp x")), (QStringList{"\"a", "b", "-cp", "x"}));
}

void TestBatchFormat::compilerImportFailures()
{
    const auto none = core::importCompilerBatch("del compile.log\r\njikes -Xstdout\r\n");
    QVERIFY(!none.complete);
    QVERIFY(none.values.isEmpty());

    const auto threeWords = core::importCompilerBatch("..\\bin\\jikes -Xstdout -classpath\r\n");
    QVERIFY(!threeWords.complete);
    QCOMPARE(threeWords.values, (Values{{core::kCompiler, "..\\bin\\jikes"}}));

    const auto fourWords = core::importCompilerBatch("..\\bin\\jikes -Xstdout -classpath cp\r\n");
    QVERIFY(fourWords.complete);
    QCOMPARE(fourWords.values.last(), (QPair<QString, QString>{core::kCP, "cp"}));

    // A space inside a value moves the words along.
    const auto spaced = core::importCompilerBatch("C:\\Program Files\\bin\\jikes -Xstdout -classpath cp x\r\n");
    QCOMPARE(spaced.values, (Values{{core::kCompiler, "C:\\Program"}, {core::kCP, "-classpath"}}));
}

void TestBatchFormat::editorImportFailures()
{
    const auto none = core::importEditorBatch("REM IEC 61499 Editor\r\ncd src\r\n..\\BIN\\jre a b c d e\r\n");
    QVERIFY(!none.complete);
    QVERIFY(none.values.isEmpty());
    QVERIFY(!none.entries);

    const auto twoWords = core::importEditorBatch("..\\bin\\jre -cp\r\n");
    QVERIFY(!twoWords.complete);
    QCOMPARE(twoWords.values, (Values{{core::kJREpath, "..\\bin\\jre"}}));

    const auto fiveWords = core::importEditorBatch("..\\bin\\jre -cp lib Editor MyFB\r\n");
    QVERIFY(!fiveWords.complete);
    QCOMPARE(fiveWords.values, (Values{{core::kJREpath, "..\\bin\\jre"}, {core::kLibpath, "lib"}}));
    QVERIFY(!fiveWords.entries);

    // A package word without ";" gives no entry: the import fails rather
    // than empty the list. A JREpath with a blank shifts the words so.
    const auto noSemicolon = core::importEditorBatch("..\\bin\\jre -cp lib Editor MyFB hmi\r\n");
    QVERIFY(!noSemicolon.complete);
    QVERIFY(!noSemicolon.entries);
    QCOMPARE(noSemicolon.values, (Values{{core::kJREpath, "..\\bin\\jre"}, {core::kLibpath, "lib"}}));
    const auto blank = core::importEditorBatch(
        "cd src\r\nC:\\Program Files\\jre\\bin\\java -cp lib Editor MyFB hmi;net; \r\n");
    QVERIFY(!blank.complete);
    QVERIFY(!blank.entries);

    // A comma cuts the line into items; the item with the marker has too few words.
    const auto comma = core::importEditorBatch("..\\bin\\jre -cp a,b Editor MyFB hmi; x\r\n");
    QVERIFY(!comma.complete);
    QCOMPARE(comma.values.size(), 2);
    QCOMPARE(comma.values[1].second, QStringLiteral("a"));
}

void TestBatchFormat::listWithoutSelectionComesBackWithEmptyFirstEntry()
{
    core::Settings s = exampleSettings();
    const QStringList list{QStringLiteral("a"), QStringLiteral("b")};
    const auto result = core::importEditorBatch(
        *core::editorBatchBytes(core::editorWords(s, core::Workspace{list, -1, {}}, QStringLiteral("X.fbt"))));
    QCOMPARE(*result.entries, (QStringList{"", "a", "b"}));
    QCOMPARE(result.selectedIndex, 0);
}

void TestBatchFormat::hostileInputNeverCrashes()
{
    // 200 kB of every byte value but the double quote (which would run one
    // item to the end), holding no marker, before the command line: the
    // imports pass over all of it and find the line.
    QByteArray garbage;
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (char(seed >> 16) != '"')
            garbage.append(char(seed >> 16));
    }
    QVERIFY(!garbage.contains(core::kCompilerBatchMarker.toLatin1())
            && !garbage.contains(core::kEditorBatchMarker.toLatin1()));
    const auto compiler = core::importCompilerBatch(garbage + "\r\n..\\bin\\jikes -Xstdout -classpath cp x\r\n");
    QVERIFY(compiler.complete);
    QCOMPARE(compiler.values, (QList<QPair<QString, QString>>{{core::kCompiler, "..\\bin\\jikes"},
                                                              {core::kCP, "cp"}}));
    const auto editor = core::importEditorBatch(garbage + "\n..\\bin\\jre -cp lib Editor F a;b\\c; d\n");
    QVERIFY(editor.complete);
    QCOMPARE(*editor.entries, (QStringList{"a", "b\\c"}));

    // One very long line.
    QByteArray longLine = "..\\bin\\jre -cp lib Editor MyFB ";
    for (int i = 0; i < 100000; ++i)
        longLine += "p" + QByteArray::number(i) + ";";
    longLine += " d";
    const auto result = core::importEditorBatch(longLine);
    QVERIFY(result.complete);
    QCOMPARE(result.entries->size(), 100000);
    QCOMPARE(result.entries->last(), QStringLiteral("p99999"));

    QVERIFY(!core::importEditorBatch(QByteArray(1 << 20, '\0')).complete);
    QVERIFY(!core::importCompilerBatch(QByteArray(1 << 20, ',')).complete);
}

QTEST_APPLESS_MAIN(TestBatchFormat)
#include "tst_batch_format.moc"
