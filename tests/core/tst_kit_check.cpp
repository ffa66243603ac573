// The kit check, one row per check with its target there and not there, in
// kits made here: root/kit is the program's folder (the compiler is looked
// for from there, the Java runtime from root/kit/src).
#include "core/KitCheck.h"
#include "core/StringTable.h"
#include "core/ToolCheck.h"

#include "support/CoreValues.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

Q_DECLARE_METATYPE(core::Verdict)

namespace {

// "name/" a folder, "name*" a program (".exe" added on Windows), "name#text"
// a file with the run bit that holds the text (".exe" added on Windows),
// "name" a file.
void make(const QString &root, const QString &item)
{
    const int mark = int(item.indexOf(QLatin1Char('#')));
    QString path = root + QLatin1Char('/') + item.left(mark);
    if (path.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(path));
        return;
    }
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (path.endsWith(QLatin1Char('*'))) {
        path.chop(1);
        QVERIFY(installStandIn(path));
        return;
    }
    const bool runBit = mark >= 0;
    if (runBit)
        path = standInFile(path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(runBit ? item.mid(mark + 1).toUtf8() + "\n" : QByteArray("x"));
    f.close();
    if (runBit)
        QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
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
    void toolsAndMends_data();
    void toolsAndMends();
};

void TestKitCheck::findings_data()
{
    QTest::addColumn<QStringList>("made");       // below the root
    QTest::addColumn<QStringList>("values");     // key=value, over the defaults
    QTest::addColumn<QStringList>("entries");    // the workspace, the first selected
    QTest::addColumn<int>("settingsFile");       // what reading the file found
    QTest::addColumn<QString>("setting");        // the finding looked at: the first of it ("X words": X's
                                                 // finding about the words its value gives, "X batch":
                                                 // about a batch file's interpreter)
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
                                    << standInFile("bin/jikes") << "The compiler is there.";
    QTest::newRow("compiler not there") << none << none << none << xml << kCompiler << problem
                                        << standInFile("bin/jikes") << "No compiler there: Compile cannot start it.";
    // A file the system would not run: its start ends as one of nothing there.
#ifndef Q_OS_WIN
    QTest::newRow("compiler there, not executable") << QStringList{"bin/jikes"} << none << none << xml << kCompiler
                                                    << problem << "bin/jikes"
                                                    << "The file is not executable: the system cannot start it.";
    QTest::newRow("compiler text with the run bit")
        << QStringList{"bin/jikes#javac \"$@\""} << none << none << xml << kCompiler << problem << "bin/jikes"
        << "The file is neither an ELF program nor a script with #!: the system cannot start it.";
    QTest::newRow("compiler a script") << QStringList{"bin/jikes##!/bin/sh"} << none << none << xml << kCompiler
                                       << fine << "bin/jikes" << "The compiler is there.";
    QTest::newRow("compiler a script for an interpreter not there")
        << QStringList{"bin/jikes##!/bin/sh\r"} << none << none << xml << kCompiler << problem << "bin/jikes"
        << "The interpreter that the script's #! line names is not there or cannot run: the system cannot start "
           "the script.";
#else
    QTest::newRow("compiler no program image") << QStringList{"bin/jikes#MZ"} << none << none << xml << kCompiler
                                               << problem << "bin/jikes.exe"
                                               << "The file is no program image: the system cannot start it.";
#endif
    QTest::newRow("compiler leaving a quote open")
        << QStringList{"bin/jikes*"} << QStringList{"Compiler=\"..\\bin\\jikes"} << none << xml << kCompiler
        << problem << "=\"..\\bin\\jikes"
        << "Leaves a quote open, so the program's name takes in the rest of its line: the start fails.";
    QTest::newRow("java runtime there, from src") << QStringList{"kit/bin/jre*"} << none << none << xml << kJREpath
                                                  << fine << standInFile("kit/bin/jre") << "The Java runtime is there.";
    QTest::newRow("java runtime not there") << QStringList{"bin/jre*"} << none << none << xml << kJREpath << problem
                                            << standInFile("kit/bin/jre")
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
    // As the compilers take them, and as a source pattern matches.
    QTest::newRow("sources only in capitals") << QStringList{"lib/fb/rt/mypkg/A.JAVA"} << none << QStringList{"mypkg"}
                                              << xml << kJavapath << problem << "lib/fb/rt/mypkg"
                                              << "No .java file here: Compile has nothing to compile.";
#ifndef Q_OS_WIN
    // The system's own class path word: ":" between its pieces.
    QTest::newRow("class path piece holding a colon")
        << QStringList{"lib/a:b.jar"} << QStringList{"CP=..\\lib\\a:b.jar;"} << none << xml << kCP << warning
        << "lib/a" << "This piece of the class path is missing: the compiler finds no classes in it.";
#endif
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

    QTest::newRow("class folder of one blank") << QStringList{"kit/"} << QStringList{"ClassDirectory= "} << none
                                               << xml << kClassDirectory << problem << "= "
                                               << "Gives the compiler no folder name after -d.";
    QTest::newRow("class folder quotes around nothing") << QStringList{"kit/"} << QStringList{"ClassDirectory=\"\""}
                                                        << none << xml << kClassDirectory << problem << "=\"\""
                                                        << "Gives the compiler no folder name after -d.";
    QTest::newRow("file in the class folder's place")
        << QStringList{"kit/classes"} << QStringList{"ClassDirectory=classes"} << none << xml << kClassDirectory
        << problem << "kit/classes"
        << "A file stands where the class folder should be: Compile cannot make the folder.";

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
                                                        << kCompiler << fine << standInFile("kit/bin/jikes")
                                                        << "The compiler is there.";
    // What a batch file's interpreter would take for its own.
    QTest::newRow("ampersand and percent in CP")
        << none << QStringList{"CP=..\\lib\\R&D\\x.jar;..\\lib\\50%off.jar;"} << none << xml << kCP + " batch"
        << warning << "=..\\lib\\R&D\\x.jar;..\\lib\\50%off.jar;"
        << "Holds \"&\", \"%\", which the command interpreter takes for its own: in a batch file of your own the "
           "line runs something else. Exported batch files escape it.";
    QTest::newRow("ampersand inside quotes") << none << QStringList{"CP=\"..\\lib\\R&D\\x.jar\";"} << none << xml
                                             << kCP + " batch" << fine << "" << "";
    QTest::newRow("pipe in an entry not selected")
        << QStringList{"kit/src/hmi/"} << none << QStringList{"hmi", "a|b"} << xml << kCheckWorkspace + " batch"
        << warning << "=a|b"
        << "Holds \"|\", which the command interpreter takes for its own: in a batch file of your own the line "
           "runs something else. Exported batch files escape it.";
#ifdef Q_OS_WIN
    // The system finds a program past an unquoted blank, or stops short of
    // it at another file; either way the line goes wrong.
    const QString pastBlank = "Unquoted blank in the program's name: the start goes wrong. Put the value in double quotes.";
    QTest::newRow("compiler found past a blank") << QStringList{"kit/my tools/jikes*"}
                                                 << QStringList{"Compiler=my tools\\jikes"} << none << xml << kCompiler
                                                 << problem << standInFile("kit/my tools/jikes") << pastBlank;
    QTest::newRow("another program before the blank")
        << QStringList{"kit/my*", "kit/my tools/jikes*"} << QStringList{"Compiler=.\\my tools\\jikes"} << none
        << xml << kCompiler << problem << standInFile("kit/my") << pastBlank;
    QTest::newRow("java runtime found past a blank")
        << QStringList{"kit/src/my jre/java*"} << QStringList{"JREpath=my jre\\java"} << none << xml << kJREpath
        << problem << standInFile("kit/src/my jre/java") << pastBlank;
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
    const bool batch = setting.endsWith(QStringLiteral(" batch"));
    const QString key = words || batch ? setting.chopped(6) : setting;
    const KitFinding *found = nullptr;
    for (const KitFinding &f : findings) {
        if (f.setting == key
            && (!words || f.sentence.startsWith(QStringLiteral("Holds a blank"))
                || f.sentence.startsWith(QStringLiteral("Leaves a quote open")))
            && (!batch || f.sentence.contains(QStringLiteral("command interpreter")))) {
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

// The tools' rows and the mends, over installations the row makes up:
// "PATH:FOLDER" with the programs made there, or "KEY:FOLDER" registered.
// "<X>" in a path or a mend is X below the root, as the system writes it.
void TestKitCheck::toolsAndMends_data()
{
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("installations");
    QTest::addColumn<QString>("row");        // the row looked at: "setting|path"
    QTest::addColumn<QString>("sentence");   // empty: not looked at
    QTest::addColumn<QStringList>("mends");  // "caption => value"

    const QStringList none;
    // The started words, package p selected: its sources expanded here, on
    // Windows left to the Java launcher.
#ifdef Q_OS_WIN
    const QString sources = "..\\lib\\fb\\rt\\p\\*.java";
#else
    const QString sources = "../lib/fb/rt/p/A.java";
#endif
    const QStringList aSource{"lib/fb/rt/p/A.java"};
    QTest::newRow("javac: its words, no -Xstdout")
        << aSource << QStringList{"Compiler=javac", "CP=a;b"} << none
        << "Compiler|javac -classpath " + systemClassPath("a;b") + " " + sources
        << "javac, started with these words: without -Xstdout, which javac takes for a file to write into." << none;
    QTest::newRow("a wrapper keeps the kit's words")
        << aSource << QStringList{"Compiler=jc", "CP=a"} << none << "Compiler|jc -Xstdout -classpath a " + sources
        << "A compiler of unknown kind, started with the kit's words, -Xstdout included." << none;
    QTest::newRow("an installation on PATH") << QStringList{"p/java*", "p/javac*"} << none << QStringList{"PATH:p"}
                                             << "Java|<p>" << "Java on PATH: java, javac." << none;
    QTest::newRow("a registered one") << QStringList{"reg/bin/java*"} << none
                                      << QStringList{"HKLM\\SOFTWARE\\JavaSoft\\JRE\\8:reg"} << "Java|<reg>"
                                      << "Java registered under HKLM\\SOFTWARE\\JavaSoft\\JRE\\8: java." << none;
    QTest::newRow("none, and a tool not there") << none << none << none << "Java|"
                                                << "No Java installation was found on this machine." << none;

    // Each installation's program for a tool that is not there, quoted for
    // its blank.
    const QString myJava = "<" + standInFile("my jdk/java") + ">";
    const QString pJava = "<" + standInFile("p/java") + ">";
    QTest::newRow("runtime not there: every java")
        << QStringList{"my jdk/java*", "p/java*", "p/javac*"} << none << QStringList{"PATH:my jdk", "PATH:p"}
        << "JREpath|<" + standInFile("kit/bin/jre") + ">" << ""
        << QStringList{"Use \"" + myJava + "\" (PATH) => \"" + myJava + "\"", "Use " + pJava + " (PATH) => " + pJava};
    const QString qJavac = "<" + standInFile("q/javac") + ">";
    QTest::newRow("compiler not there: javac only") << QStringList{"p/java*", "q/javac*"} << none
                                                    << QStringList{"PATH:p", "PATH:q"} << "Compiler|<" + standInFile("bin/jikes") + ">"
                                                    << "" << QStringList{"Use " + qJavac + " (PATH) => " + qJavac};
    // Nor is one the system cannot run.
    QTest::newRow("compiler no program: javac offered")
        << QStringList{"bin/jikes#not a program", "q/javac*"} << none << QStringList{"PATH:q"}
        << "Compiler|<" + standInFile("bin/jikes") + ">" << "" << QStringList{"Use " + qJavac + " (PATH) => " + qJavac};
    QTest::newRow("compiler there: nothing offered") << QStringList{"bin/jikes*", "q/javac*"} << none
                                                     << QStringList{"PATH:q"} << "Compiler|<" + standInFile("bin/jikes") + ">"
                                                     << "" << none;

    // Quotes where a blank splits the value, a "\" at its end left outside.
    QTest::newRow("quote a class path") << none << QStringList{"CP=..\\my lib\\x.jar;"} << none
                                        << "CP|..\\my lib\\x.jar;" << ""
                                        << QStringList{"Quote it: \"..\\my lib\\x.jar;\" => \"..\\my lib\\x.jar;\""};
    QTest::newRow("quote javapath") << none << QStringList{"javapath=..\\my java\\"} << none << "javapath|..\\my java\\"
                                    << "" << QStringList{"Quote it: \"..\\my java\"\\ => \"..\\my java\"\\"};
    QTest::newRow("quote a program that is there so")
        << QStringList{"kit/my tools/jikes*"} << QStringList{"Compiler=my tools\\jikes"} << none
        << "Compiler|my tools\\jikes" << "" << QStringList{"Quote it: \"my tools\\jikes\" => \"my tools\\jikes\""};
    QTest::newRow("a program's own option stays unquoted")
        << QStringList{"kit/bin/jikes*"} << QStringList{"Compiler=bin\\jikes +E"} << none << "Compiler|bin\\jikes +E"
        << "" << none;
    QTest::newRow("a quote there already") << none << QStringList{"CP=\"a b\" c"} << none << "CP|\"a b\" c" << "" << none;

    // The class folder made, every level, where the nearest folder above is one.
    QTest::newRow("make the class folder") << QStringList{"kit/"} << QStringList{"ClassDirectory=out\\classes"} << none
                                           << "ClassDirectory|<kit/out/classes>" << ""
                                           << QStringList{"Make the folder <kit/out/classes> => <kit/out/classes>"};
    QTest::newRow("a file above it") << QStringList{"kit/out"} << QStringList{"ClassDirectory=out\\classes"} << none
                                     << "ClassDirectory|<kit/out/classes>" << "" << none;
}

void TestKitCheck::toolsAndMends()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, values);
    QFETCH(QStringList, installations);
    QFETCH(QString, row);
    QFETCH(QString, sentence);
    QFETCH(QStringList, mends);

    QTemporaryDir root(scratchDirTemplate());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("kit")));
    for (const QString &item : made)
        make(root.path(), item);
    const auto at = [&](const QString &relative) {
        return QDir::toNativeSeparators(QDir::cleanPath(root.filePath(relative)));
    };
    const auto expand = [&](const QString &text) {
        QString expanded;
        int from = 0;
        for (int open; (open = int(text.indexOf(u'<', from))) >= 0;) {
            const int close = int(text.indexOf(u'>', open));
            expanded += text.mid(from, open - from) + at(text.mid(open + 1, close - open - 1));
            from = close + 1;
        }
        return expanded + text.mid(from);
    };
    QList<platform::JavaInstallation> java;
    for (const QString &installation : installations) {
        const QString key = installation.section(u':', 0, 0);
        const QString folder = installation.section(u':', 1);
        const QString bin = key == "PATH" ? folder : folder + "/bin";
        const auto program = [&](const QString &name) {
            const QString path = at(standInFile(bin + "/" + name));
            return QFileInfo::exists(path) ? path : QString();
        };
        java.append({key == "PATH" ? platform::JavaInstallation::Origin::Path : platform::JavaInstallation::Origin::Registry,
                     at(folder), key == "PATH" ? QString() : key, program("java"), program("javac")});
    }
    Settings settings;
    for (const QString &value : values)
        settings.setValue(value.section(u'=', 0, 0), value.section(u'=', 1));
    const Kit kit(at("kit"));
    const Workspace workspace{{"p"}, 0, {}};

    // What this machine has is no row's: the rows' own installations instead.
    QList<KitFinding> findings = checkKit(kit, settings, workspace, LoadOutcome::Xml, false);
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [](const KitFinding &f) { return f.setting == kCheckJava; }),
                   findings.end());
    for (KitFinding &f : findings)
        f.mends.clear();
    for (const KitFinding &f : toolFindings(kit, settings, workspace, java)) {
        if (f.setting == kCheckJava)
            findings << f;
    }
    attachMends(findings, kit, settings, java);

    const QString setting = row.section(u'|', 0, 0);
    const QString path = expand(row.section(u'|', 1));
    const auto found = std::find_if(findings.cbegin(), findings.cend(),
                                    [&](const KitFinding &f) { return f.setting == setting && f.path == path; });
    QVERIFY2(found != findings.cend(), qPrintable(path));
    if (!sentence.isEmpty())
        QCOMPARE(found->sentence, sentence);
    QStringList shown;
    for (const KitMend &m : found->mends)
        shown << m.caption + " => " + m.value;
    for (QString &m : mends)
        m = expand(m);
    QCOMPARE(shown, mends);
    for (const KitMend &m : found->mends) {
        if (m.action == KitMend::Action::MakeFolder)
            QVERIFY(makeMendFolder(m) && QFileInfo(m.value).isDir());
    }
}

QTEST_GUILESS_MAIN(TestKitCheck)
#include "tst_kit_check.moc"
