#include "core/CommandLines.h"
#include "core/FileFilters.h"

#include "support/CoreValues.h"

#include <QTest>

using core::Settings;
using core::Workspace;

namespace {

Settings compilerSettings(const QString &classDirectory)
{
    return settingsWith({{core::kCompiler, "..\\bin\\jikes"},
                         {core::kCP, "..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;"},
                         {core::kJavapath, "..\\lib\\fb\\rt\\"},
                         {core::kClassDirectory, classDirectory}});
}

Settings editorSettings(const QString &dtPackages)
{
    return settingsWith({{core::kJREpath, "..\\bin\\jre"},
                         {core::kLibpath, "..\\lib;..\\fb.jar;..\\fbrt.jar;"},
                         {core::kDtPackages, dtPackages}});
}

// A started line less its program's word.
QString rest(const QString &started)
{
    return started.mid(started.indexOf(QLatin1String(" -classpath")) + 1);
}

const QString kCpPart = "-Xstdout -classpath ..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar; ";

} // namespace

class TestCommandLines : public QObject
{
    Q_OBJECT

private slots:
    void compileLine_data();
    void compileLine();
    void compileLineTakesSettingsAsTheyStand();
    void startedWords_data();
    void startedWords();
    void wordKinds();
    void editorLine_data();
    void editorLine();
    void editorLineNeedsADot_data();
    void editorLineNeedsADot();
    void packageWord_data();
    void packageWord();
    void filterIndex_data();
    void filterIndex();
    void filterString();
};

void TestCommandLines::compileLine_data()
{
    QTest::addColumn<QString>("javapath");
    QTest::addColumn<QString>("classDirectory");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("expected");

    const QStringList list{"net", "mypkg", "hmi"};
    QTest::newRow("worked example") << "..\\lib\\fb\\rt\\" << "" << list << 1
                                    << "..\\bin\\jikes " + kCpPart + "..\\lib\\fb\\rt\\mypkg\\*.java %1 > .\\compile.log";
    QTest::newRow("with class directory") << "..\\lib\\fb\\rt\\" << "classes" << list << 1
                                          << "..\\bin\\jikes " + kCpPart
            + "..\\lib\\fb\\rt\\mypkg\\*.java -d classes %1 > .\\compile.log";
    QTest::newRow("javapath without backslash") << "..\\lib\\fb\\rt" << "" << list << 1
                                                << "..\\bin\\jikes " + kCpPart + "..\\lib\\fb\\rtmypkg\\*.java %1 > .\\compile.log";
    QTest::newRow("no selection") << "..\\lib\\fb\\rt\\" << "" << list << -1
                                  << "..\\bin\\jikes " + kCpPart + "..\\lib\\fb\\rt\\\\*.java %1 > .\\compile.log";
    QTest::newRow("nested entry, other entries unused") << "..\\lib\\fb\\rt\\" << "out\\classes"
                                                       << QStringList{"a", "mypkg\\util", "b"} << 1
                                                       << "..\\bin\\jikes " + kCpPart
            + "..\\lib\\fb\\rt\\mypkg\\util\\*.java -d out\\classes %1 > .\\compile.log";
    QTest::newRow("empty list") << "..\\lib\\fb\\rt\\" << "" << QStringList{} << -1
                                << "..\\bin\\jikes " + kCpPart + "..\\lib\\fb\\rt\\\\*.java %1 > .\\compile.log";
}

void TestCommandLines::compileLine()
{
    QFETCH(QString, javapath);
    QFETCH(QString, classDirectory);
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, expected);
    Settings s = compilerSettings(classDirectory);
    s.setValue(core::kJavapath, javapath);
    QCOMPARE(core::BuildCompileCommand(s, Workspace{entries, selected, {}}), expected);
}

void TestCommandLines::compileLineTakesSettingsAsTheyStand()
{
    // Spaces go in unquoted; empty settings leave their pieces empty.
    Settings s = settingsWith({{core::kCompiler, "C:\\Program Files\\jikes"}, {core::kCP, " a b "}, {core::kJavapath, ""}});
    const Workspace p{{"p"}, 0, {}};
    QCOMPARE(core::BuildCompileCommand(s, p),
             QStringLiteral("C:\\Program Files\\jikes -Xstdout -classpath  a b  p\\*.java %1 > .\\compile.log"));
    s.setValue(core::kCompiler, QString());
    s.setValue(core::kCP, QString());
    QCOMPARE(core::BuildCompileCommand(s, p),
             QStringLiteral(" -Xstdout -classpath  p\\*.java %1 > .\\compile.log"));
}

// What Compile starts, by the compiler's kind: never the batch file's tail,
// and no "-Xstdout" for javac, which would write its messages into a file
// named by the next word.
void TestCommandLines::startedWords_data()
{
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("started");

    const QString rest = "-classpath ..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar; "
                         "..\\lib\\fb\\rt\\mypkg\\*.java -d classes";
    QTest::newRow("the kit's jikes") << "..\\bin\\jikes" << "jikes" << "..\\bin\\jikes -Xstdout " + rest;
    QTest::newRow("javac on Linux") << "/usr/bin/javac" << "javac" << "/usr/bin/javac " + rest;
    QTest::newRow("javac.exe in any case") << "C:\\jdk\\bin\\JavaC.EXE" << "javac" << "C:\\jdk\\bin\\JavaC.EXE " + rest;
    QTest::newRow("javac quoted for its blank") << "\"C:\\Program Files\\jdk\\bin\\javac.exe\"" << "javac"
                                                << "\"C:\\Program Files\\jdk\\bin\\javac.exe\" " + rest;
    QTest::newRow("ecj passes over -X it does not know") << "ecj" << "ecj" << "ecj -Xstdout " + rest;
    QTest::newRow("jikes.exe") << "..\\bin\\Jikes.exe" << "jikes" << "..\\bin\\Jikes.exe -Xstdout " + rest;
    QTest::newRow("a wrapper keeps the kit's words") << "..\\bin\\javac.sh" << "unknown"
                                                     << "..\\bin\\javac.sh -Xstdout " + rest;
    QTest::newRow("javac as a folder's name is no javac") << "..\\javac\\cc" << "unknown" << "..\\javac\\cc -Xstdout " + rest;
    QTest::newRow("no compiler") << "" << "unknown" << " -Xstdout " + rest;
}

void TestCommandLines::startedWords()
{
    QFETCH(QString, compiler);
    QFETCH(QString, kind);
    QFETCH(QString, started);
    Settings s = compilerSettings("classes");
    s.setValue(core::kCompiler, compiler);
    const Workspace w{{"mypkg"}, 0, {}};
    QCOMPARE(core::compilerKindName(core::compilerKind(compiler)), kind);
    QCOMPARE(platform::joinedLine(core::compileStartWords(s, w)), started);
    // The kit's text stays as it was, whatever the compiler.
    QCOMPARE(core::BuildCompileCommand(s, w), compiler + " -Xstdout " + rest(started) + " %1 > .\\compile.log");
}

// Each word of the lines knows what it is, so that each system can be
// handed its own: paths and class paths are converted, the editor's own
// arguments never.
void TestCommandLines::wordKinds()
{
    using K = platform::ToolWord::Kind;
    const auto kinds = [](const platform::ToolLine &line) {
        QList<K> list;
        for (const platform::ToolWord &word : line)
            list << word.kind;
        return list;
    };
    QCOMPARE(kinds(core::compileWords(compilerSettings("classes"), Workspace{{"a"}, 0, {}})),
             (QList<K>{K::Program, K::Option, K::Option, K::ClassPath, K::Path, K::Option, K::Path, K::Interpreter,
                       K::Interpreter, K::Interpreter}));
    QCOMPARE(kinds(core::editorWords(editorSettings("d"), Workspace{{"a\\b"}, 0, {}}, "X.fbt")),
             (QList<K>{K::Program, K::Option, K::ClassPath, K::Argument, K::Argument, K::Argument, K::Argument}));
}

void TestCommandLines::editorLine_data()
{
    QTest::addColumn<QString>("dtPackages");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");

    const QString head = "..\\bin\\jre -cp ..\\lib;..\\fb.jar;..\\fbrt.jar; Editor ";
    const QStringList list{"net", "mypkg\\util", "hmi"};
    QTest::newRow("worked example") << "mydata" << list << 2 << "MyFB.fbt"
                                    << head + "MyFB hmi;net;mypkg.util; mydata";
    QTest::newRow("nested entry selected") << "mydata" << list << 1 << "MyFB.fbt"
                                           << head + "MyFB mypkg\\util;net;hmi; mydata";
    QTest::newRow("dt-packages empty") << "" << list << 2 << "MyFB.fbt" << head + "MyFB hmi;net;mypkg.util; ";
    QTest::newRow("base at the first dot") << "d" << list << 0 << "x.y.fbt" << head + "x net;mypkg.util;hmi; d";
    QTest::newRow("dot first: empty base") << "d" << list << 0 << ".fbt" << head + " net;mypkg.util;hmi; d";
    QTest::newRow("no selection") << "d" << list << -1 << "A.res" << head + "A ;net;mypkg.util;hmi; d";
}

void TestCommandLines::editorLine()
{
    QFETCH(QString, dtPackages);
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QCOMPARE(core::BuildEditorCommand(editorSettings(dtPackages), Workspace{entries, selected, {}}, fileName), expected);
}

void TestCommandLines::editorLineNeedsADot_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain name") << "MyFB";
    QTest::newRow("empty") << "";
}

void TestCommandLines::editorLineNeedsADot()
{
    QFETCH(QString, fileName);
    QVERIFY(core::BuildEditorCommand(editorSettings("mydata"), Workspace{{"a"}, 0, {}}, fileName).isEmpty());
}

void TestCommandLines::packageWord_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("expected");
    QTest::newRow("single entry") << QStringList{"a\\b"} << 0 << "a\\b;";
    QTest::newRow("selected first, others in order") << QStringList{"a", "b\\c", "d", "e\\f\\g"} << 2
                                                     << "d;a;b.c;e.f.g;";
    QTest::newRow("selected last") << QStringList{"x\\y", "z"} << 1 << "z;x.y;";
    QTest::newRow("no selection") << QStringList{"a\\b", "c"} << -1 << ";a.b;c;";
    QTest::newRow("empty list") << QStringList{} << -1 << ";";
    QTest::newRow("duplicate of the selected stays") << QStringList{"a\\b", "a\\b"} << 1 << "a\\b;a.b;";
}

void TestCommandLines::packageWord()
{
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, expected);
    QCOMPARE(core::PackageWord(Workspace{entries, selected, {}}), expected);
}

void TestCommandLines::filterIndex_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("no dot") << "MyFB" << 1;
    QTest::newRow("sys") << "Plant.sys" << 1;
    QTest::newRow("dev") << "Plant.dev" << 2;
    QTest::newRow("res") << "Plant.res" << 3;
    QTest::newRow("fbt") << "MyFB.fbt" << 4;
    QTest::newRow("case counts") << "Plant.RES" << 1;
    QTest::newRow("after the first dot") << "a.b.fbt" << 1;
    QTest::newRow("unknown") << "notes.txt" << 1;
}

void TestCommandLines::filterIndex()
{
    QFETCH(QString, previous);
    QFETCH(int, expected);
    // The table the main window fills when it loads.
    QCOMPARE(core::editFilterIndex(core::filterIndexByExtension(), previous), expected);
}

void TestCommandLines::filterString()
{
    QCOMPARE(core::editFileFilter(), QStringLiteral("system (*.sys)|*.sys|device (*.dev)|*.dev|resource (*.res)|*.res|"
                                                    "FB (*.fbt)|*.fbt|all(*.*)|*.*|"));
    QCOMPARE(core::batchFileFilter(), QStringLiteral("all (*.*)|*.*|*.bat|*.bat"));
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
