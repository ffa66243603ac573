// The kit check, one row per check with its target there and not there, in
// kits made here: root/kit is the program's folder (the compiler is looked
// for from there, the Java runtime from root/kit/src).
#include "core/KitCheck.h"
#include "core/StringTable.h"

#include "support/CoreValues.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

Q_DECLARE_METATYPE(core::Verdict)

namespace {

// "name/" a folder, "name*" a program (".exe" added on Windows), "name" a file.
void make(const QString &root, const QString &item)
{
    QString path = root + QLatin1Char('/') + item;
    if (path.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(path));
        return;
    }
    const bool program = path.endsWith(QLatin1Char('*'));
    if (program)
        path.chop(1);
#ifdef Q_OS_WIN
    if (program)
        path += QStringLiteral(".exe");
#endif
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    if (program)
        QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
}

QString programFile(const QString &path)
{
#ifdef Q_OS_WIN
    return path + QStringLiteral(".exe");
#else
    return path;
#endif
}

} // namespace

class TestKitCheck : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentLanguage(Language::English); }
    void findings_data();
    void findings();
    void verdictWordsAndTabs();
};

void TestKitCheck::findings_data()
{
    QTest::addColumn<QStringList>("made");       // below the root
    QTest::addColumn<QStringList>("values");     // key=value, over the defaults
    QTest::addColumn<QStringList>("entries");    // the workspace, the first selected
    QTest::addColumn<int>("settingsFile");       // what reading the file found
    QTest::addColumn<QString>("setting");        // the finding looked at: the first of it ("X words": X's
                                                 // finding about the words its value gives)
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("path");           // below the root, or after "=" as it is
    QTest::addColumn<QString>("sentence");       // empty: there is no such finding

    const int xml = int(LoadOutcome::Xml);
    const QStringList none;
    const Verdict fine = Verdict::Fine, warning = Verdict::Warning, problem = Verdict::Problem;

    QTest::newRow("settings file: none") << none << none << none << int(LoadOutcome::Missing) << kCheckSettingsFile
                                         << fine << "kit/TAVO_Starter.ini"
                                         << "No settings file: the defaults are in force.";
    QTest::newRow("settings file: line form") << none << none << none << int(LoadOutcome::LineForm)
                                              << kCheckSettingsFile << warning << "kit/TAVO_Starter.ini"
                                              << "The settings file has the older line form: Compiler and "
                                                 "ClassDirectory keep their defaults until OK or Apply writes it anew.";
    QTest::newRow("settings file: broken") << none << none << none << int(LoadOutcome::Malformed)
                                           << kCheckSettingsFile << problem << "kit/TAVO_Starter.ini"
                                           << "The settings file cannot be read: the defaults are in force, not its values.";
    QTest::newRow("settings file: no value") << none << none << none << int(LoadOutcome::XmlWithoutValues)
                                             << kCheckSettingsFile << problem << "kit/TAVO_Starter.ini"
                                             << "The settings file gives no value (they are read from the attributes of "
                                                "Editor, Compiler and Properties): the defaults are in force, not its values.";

    QTest::newRow("compiler there") << QStringList{"bin/jikes*"} << none << none << xml << kCompiler << fine
                                    << programFile("bin/jikes") << "The compiler is there.";
    QTest::newRow("compiler not there") << none << none << none << xml << kCompiler << problem
                                        << programFile("bin/jikes") << "No compiler there: Compile cannot start it.";
#ifndef Q_OS_WIN
    QTest::newRow("compiler there, not executable") << QStringList{"bin/jikes"} << none << none << xml << kCompiler
                                                    << problem << "bin/jikes"
                                                    << "No compiler there: Compile cannot start it.";
#endif
    QTest::newRow("java runtime there, from src") << QStringList{"kit/bin/jre*"} << none << none << xml << kJREpath
                                                  << fine << programFile("kit/bin/jre") << "The Java runtime is there.";
    QTest::newRow("java runtime not there") << QStringList{"bin/jre*"} << none << none << xml << kJREpath << problem
                                            << programFile("kit/bin/jre")
                                            << "No Java runtime there: Open Editor cannot start the editor.";

    QTest::newRow("class path piece there") << QStringList{"lib/"} << QStringList{"CP=..\\lib;"} << none << xml
                                            << kCP << fine << "lib" << "This piece of the class path is there.";
    QTest::newRow("class path piece not there") << none << QStringList{"CP=..\\lib\\rt.jar;"} << none << xml << kCP
                                                << warning << "lib/rt.jar"
                                                << "This piece of the class path is missing: the compiler finds no "
                                                   "classes in it.";
    QTest::newRow("editor class path piece there, from src")
        << QStringList{"kit/fb.jar"} << QStringList{"libpath=..\\fb.jar;"} << none << xml << kLibpath << fine
        << "kit/fb.jar" << "This piece of the editor's class path is there.";
    QTest::newRow("editor class path piece not there")
        << QStringList{"fb.jar"} << QStringList{"libpath=..\\fb.jar;"} << none << xml << kLibpath << warning
        << "kit/fb.jar" << "This piece of the editor's class path is missing: the editor finds no classes in it.";

    QTest::newRow("sources there") << QStringList{"lib/fb/rt/mypkg/A.java"} << none << QStringList{"mypkg"} << xml
                                   << kJavapath << fine << "lib/fb/rt/mypkg" << "The selected package's sources are here.";
    QTest::newRow("sources not there") << QStringList{"lib/fb/rt/mypkg/A.class"} << none << QStringList{"mypkg"}
                                       << xml << kJavapath << problem << "lib/fb/rt/mypkg"
                                       << "No .java file here: Compile has nothing to compile.";
    QTest::newRow("no package selected") << none << none << none << xml << kJavapath << warning << "lib/fb/rt"
                                         << "No package is selected: Compile takes the sources of javapath itself.";

    QTest::newRow("class folder there") << QStringList{"kit/classes/"} << QStringList{"ClassDirectory=classes"}
                                        << none << xml << kClassDirectory << fine << "kit/classes"
                                        << "The class folder is there.";
    QTest::newRow("class folder to be made") << QStringList{"kit/"} << QStringList{"ClassDirectory=classes"} << none
                                             << xml << kClassDirectory << fine << "kit/classes"
                                             << "The class folder is not there yet; Compile makes it.";
    // Quoted for its blank, as the tool's start-up code reads it.
    QTest::newRow("class folder quoted for its blank") << QStringList{"kit/my classes/"}
                                                      << QStringList{"ClassDirectory=\"my classes\""} << none << xml
                                                      << kClassDirectory << fine << "kit/my classes"
                                                      << "The class folder is there.";
    QTest::newRow("class path piece quoted for its blank")
        << QStringList{"my lib/x.jar"} << QStringList{"CP=\"..\\my lib\\x.jar\";"} << none << xml << kCP << fine
        << "my lib/x.jar" << "This piece of the class path is there.";
    QTest::newRow("sources below a javapath quoted for its blank")
        << QStringList{"my java/mypkg/A.java"} << QStringList{"javapath=\"..\\my java\"\\"} << QStringList{"mypkg"}
        << xml << kJavapath << fine << "my java/mypkg" << "The selected package's sources are here.";
    QTest::newRow("class folder cannot be made") << QStringList{"kit/"}
                                                 << QStringList{"ClassDirectory=out\\classes"} << none << xml
                                                 << kClassDirectory << problem << "kit/out/classes"
                                                 << "The class folder cannot be made: the folder above it is missing "
                                                    "or read-only.";

    QTest::newRow("source folder there") << QStringList{"kit/src/"} << none << none << xml << kCheckSourceRoot
                                         << fine << "kit/src" << "The source folder is there.";
    QTest::newRow("source folder not there") << none << none << none << xml << kCheckSourceRoot << problem
                                             << "kit/src"
                                             << "No source folder: the editor cannot start and no package can be chosen.";
    QTest::newRow("runtime folder there") << QStringList{"kit/lib/fb/rt/"} << none << none << xml << kCheckRuntimeRoot
                                          << fine << "kit/lib/fb/rt" << "The runtime folder is there.";
    QTest::newRow("runtime folder not there") << QStringList{"kit/lib/"} << none << none << xml << kCheckRuntimeRoot
                                              << warning << "kit/lib/fb/rt"
                                              << "No runtime folder: New... cannot make packages.";
    QTest::newRow("workspace entries there") << QStringList{"kit/src/a/b/"} << none << QStringList{"a\\b", "a"}
                                             << xml << kCheckWorkspace << fine << "kit/src"
                                             << "Every workspace entry names a folder below src.";
    QTest::newRow("workspace entry not there") << QStringList{"kit/src/a/"} << none << QStringList{"a", "a.b"}
                                               << xml << kCheckWorkspace << warning << "kit/src/a.b"
                                               << "No folder below src for this workspace entry: Select libraries "
                                                  "would remove it.";
    QTest::newRow("help page there") << QStringList{"kit/doc/tavo/BlockEditor.html"} << none << none << xml
                                     << kCheckHelpPage << fine << "kit/doc/tavo/BlockEditor.html"
                                     << "The editor's help page is there.";
    QTest::newRow("help page not there") << none << none << none << xml << kCheckHelpPage << warning
                                         << "kit/doc/tavo/BlockEditor.html"
                                         << "No help page: BlockEditor Help shows nothing.";

    // A value with a blank reaches the tool as more words than one.
    QTest::newRow("blank in Compiler") << none << QStringList{"Compiler=C:\\Program Files\\jikes\\jikes"} << none
                                       << xml << QStringLiteral("Compiler words") << warning
                                       << "=C:\\Program Files\\jikes\\jikes"
                                       << "Holds a blank, so the tool receives the words \"C:\\Program\", "
                                          "\"Files\\jikes\\jikes\" in its place.";
    QTest::newRow("blanks in the selected entry") << QStringList{"kit/src/my lib 1.2/"} << none
                                                  << QStringList{"my lib 1.2"} << xml
                                                  << kCheckSelectedEntry + " words" << warning
                                                  << "=my lib 1.2"
                                                  << "Holds a blank, so the tool receives the words \"my\", \"lib\", "
                                                     "\"1.2\" in its place.";
    // Every entry stands in the editor's package word, the others converted.
    QTest::newRow("blank in an entry not selected")
        << QStringList{"kit/src/hmi/", "kit/src/my pkg/util/"} << none << QStringList{"hmi", "my pkg\\util"} << xml
        << kCheckWorkspace + " words" << warning << "=my pkg\\util"
        << "Holds a blank, so the tool receives the words \"my\", \"pkg.util\" in its place.";
    // A blank inside quotes splits nothing.
    QTest::newRow("Compiler quoted for its blank") << none << QStringList{"Compiler=\"C:\\Program Files\\jikes\""}
                                                   << none << xml << kCompiler + " words" << fine << "" << "";
    QTest::newRow("JREpath quoted for its blank") << none << QStringList{"JREpath=\"..\\my jre\\bin\\java\""}
                                                  << none << xml << kJREpath + " words" << fine << "" << "";
    QTest::newRow("quote left open") << none << QStringList{"ClassDirectory=\"C:\\my classes\\\""} << none << xml
                                     << kClassDirectory + " words" << warning << "=\"C:\\my classes\\\""
                                     << "Leaves a quote open, so the tool takes the rest of its line into this word.";
    // What follows the program's name in the value is its arguments.
    QTest::newRow("Compiler with an option of its own") << QStringList{"kit/bin/jikes*"}
                                                        << QStringList{"Compiler=bin\\jikes +E"} << none << xml
                                                        << kCompiler << fine << programFile("kit/bin/jikes")
                                                        << "The compiler is there.";
#ifdef Q_OS_WIN
    // The system finds a program past an unquoted blank, or stops short of
    // it at another file; either way the line goes wrong.
    const QString pastBlank = "Unquoted blank in the program's name: the start goes wrong. Put the value in double quotes.";
    QTest::newRow("compiler found past a blank") << QStringList{"kit/my tools/jikes*"}
                                                 << QStringList{"Compiler=my tools\\jikes"} << none << xml << kCompiler
                                                 << problem << programFile("kit/my tools/jikes") << pastBlank;
    QTest::newRow("another program before the blank")
        << QStringList{"kit/my*", "kit/my tools/jikes*"} << QStringList{"Compiler=.\\my tools\\jikes"} << none
        << xml << kCompiler << problem << programFile("kit/my") << pastBlank;
    QTest::newRow("java runtime found past a blank")
        << QStringList{"kit/src/my jre/java*"} << QStringList{"JREpath=my jre\\java"} << none << xml << kJREpath
        << problem << programFile("kit/src/my jre/java") << pastBlank;
#endif
}

void TestKitCheck::findings()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, values);
    QFETCH(QStringList, entries);
    QFETCH(int, settingsFile);
    QFETCH(QString, setting);
    QFETCH(Verdict, verdict);
    QFETCH(QString, path);
    QFETCH(QString, sentence);

    QTemporaryDir root(scratchDirTemplate());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("kit")));
    for (const QString &item : made)
        make(root.path(), item);
    Settings settings;
    for (const QString &value : values)
        settings.setValue(value.section(QLatin1Char('='), 0, 0), value.section(QLatin1Char('='), 1));
    const Workspace workspace{entries, entries.isEmpty() ? -1 : 0, {}};

    const QList<KitFinding> findings =
        checkKit(Kit(QDir::toNativeSeparators(root.filePath(QStringLiteral("kit")))), settings, workspace,
                 LoadOutcome(settingsFile), false);
    const bool words = setting.endsWith(QStringLiteral(" words"));
    const QString key = words ? setting.chopped(6) : setting;
    const KitFinding *found = nullptr;
    for (const KitFinding &f : findings) {
        if (f.setting == key
            && (!words || f.sentence.startsWith(QStringLiteral("Holds a blank"))
                || f.sentence.startsWith(QStringLiteral("Leaves a quote open")))) {
            found = &f;
            break;
        }
    }
    if (sentence.isEmpty()) {
        QVERIFY2(!found, found ? qPrintable(found->sentence) : "");
        return;
    }
    QVERIFY2(found, qPrintable(setting));
    QCOMPARE(found->verdict, verdict);
    QCOMPARE(found->path, path.startsWith(QLatin1Char('='))
                              ? path.mid(1)
                              : QDir::toNativeSeparators(QDir::cleanPath(root.filePath(path))));
    QCOMPARE(found->sentence, sentence);
    QCOMPARE(anyProblem(findings) || verdict != Verdict::Problem, true);
}

void TestKitCheck::verdictWordsAndTabs()
{
    QCOMPARE(verdictWord(Verdict::Fine), QStringLiteral("fine"));
    QCOMPARE(verdictWord(Verdict::Warning), QStringLiteral("warning"));
    QCOMPARE(verdictWord(Verdict::Problem), QStringLiteral("problem"));
    QCOMPARE(optionsTabOf(kJREpath), 0);
    QCOMPARE(optionsTabOf(kJavapath), 1);  // stored with the editor's, edited on the Compiler tab
    QCOMPARE(optionsTabOf(kCompiler), 1);
    QCOMPARE(optionsTabOf(kAuthor), 2);
    QCOMPARE(optionsTabOf(kCheckSourceRoot), -1);
}

QTEST_GUILESS_MAIN(TestKitCheck)
#include "tst_kit_check.moc"
