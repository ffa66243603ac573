#include "platform/CommandLine.h"
#include "platform/ToolLine.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void pieces_data();
    void pieces();
    void wordsAsSplit_data();
    void wordsAsSplit();
    void matchingNames_data();
    void matchingNames();
};

void TestCommandLine::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("compile line: shell syntax stays words")
        << "..\\bin\\jikes -Xstdout -classpath ..\\lib;..\\fb.jar; ..\\lib\\fb\\rt\\mypkg\\*.java -d classes %1 > .\\compile.log"
        << QStringList{"..\\bin\\jikes", "-Xstdout", "-classpath", "..\\lib;..\\fb.jar;",
                       "..\\lib\\fb\\rt\\mypkg\\*.java", "-d", "classes", "%1", ">", ".\\compile.log"};
    QTest::newRow("editor line with trailing blank")
        << "..\\bin\\jre -cp ..\\lib; Editor MyFB hmi;net;mypkg.util; "
        << QStringList{"..\\bin\\jre", "-cp", "..\\lib;", "Editor", "MyFB", "hmi;net;mypkg.util;"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << " \t " << QStringList{};
    QTest::newRow("runs of blanks and tabs") << "  a \t b\t\tc  " << QStringList{"a", "b", "c"};
    QTest::newRow("quotes group") << "p \"a b\" c\" d\"e" << QStringList{"p", "a b", "c de"};
    QTest::newRow("empty quoted word") << "p \"\" x" << QStringList{"p", "", "x"};
    QTest::newRow("unclosed quote runs to the end") << "p \"a b" << QStringList{"p", "a b"};
    QTest::newRow("backslashes alone are literal") << "p a\\\\b\\ c\\\\" << QStringList{"p", "a\\\\b\\", "c\\\\"};
    QTest::newRow("2n backslashes before a quote") << "p a\\\\\"b c\"" << QStringList{"p", "a\\b c"};
    QTest::newRow("2n+1 backslashes before a quote") << "p a\\\\\\\"b c" << QStringList{"p", "a\\\"b", "c"};
    QTest::newRow("escaped quote inside quotes") << "p \"a \\\" b\"" << QStringList{"p", "a \" b"};
    QTest::newRow("doubled quote inside quotes") << "p \"a \"\" b\" c" << QStringList{"p", "a \" b", "c"};
    QTest::newRow("program: quotes toggle, backslash before quote literal")
        << "\"C:\\Program Files\\x\\\" y" << QStringList{"C:\\Program Files\\x\\", "y"};
    QTest::newRow("program: quoted part inside the word") << "a\"b c\"d e" << QStringList{"ab cd", "e"};
    QTest::newRow("program: leading blanks skipped") << "   prog" << QStringList{"prog"};
    QTest::newRow("program: empty quoted") << "\"\" a" << QStringList{"", "a"};
}

void TestCommandLine::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(platform::splitWindowsCommandLine(line), words);
}

// A piece of a line: its words, and whether it leaves a quote open for what
// follows it in the line.
void TestCommandLine::pieces_data()
{
    QTest::addColumn<bool>("program"); // the piece begins with the program's word
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<bool>("quoteOpen");

    QTest::newRow("argument quoted for its blank") << false << "\"..\\my lib\\x.jar;\""
                                                   << QStringList{"..\\my lib\\x.jar;"} << false;
    QTest::newRow("argument: the first word too follows argument rules")
        << false << "a\\\"b c" << QStringList{"a\"b", "c"} << false;
    QTest::newRow("argument: a backslash before the closing quote keeps it open")
        << false << "\"C:\\my classes\\\"" << QStringList{"C:\\my classes\""} << true;
    QTest::newRow("program quoted for its blank")
        << true << "\"C:\\Program Files\\jikes\\\"" << QStringList{"C:\\Program Files\\jikes\\"} << false;
    QTest::newRow("program: quote left open") << true << "\"C:\\x y" << QStringList{"C:\\x y"} << true;
}

void TestCommandLine::pieces()
{
    QFETCH(bool, program);
    QFETCH(QString, piece);
    QFETCH(QStringList, words);
    QFETCH(bool, quoteOpen);
    bool open = !quoteOpen;
    QCOMPARE(program ? platform::splitWindowsCommandLine(piece, &open) : platform::splitWindowsArguments(piece, &open),
             words);
    QCOMPARE(open, quoteOpen);
}

using Kind = platform::ToolWord::Kind;
Q_DECLARE_METATYPE(platform::ToolLine)

namespace {

QStringList described(const platform::ToolLine &line)
{
    static const char *const names[] = {"program", "option", "class path", "path", "argument", "interpreter"};
    QStringList list;
    for (const platform::ToolWord &word : line)
        list << QString::fromLatin1(names[int(word.kind)]) + QLatin1String(": ") + word.text;
    return list;
}

} // namespace

// A line's started words are split once, as a whole, the way the program
// will split them, and each keeps the kind of the word it began in.
void TestCommandLine::wordsAsSplit_data()
{
    QTest::addColumn<platform::ToolLine>("line");
    QTest::addColumn<QStringList>("split");

    QTest::newRow("the interpreter's words and empty ones go")
        << platform::ToolLine{{Kind::Program, "jikes"}, {Kind::ClassPath, ""}, {Kind::Path, "a\\*.java"},
                              {Kind::Interpreter, "%1"}}
        << QStringList{"program: jikes", "path: a\\*.java"};
    QTest::newRow("a blank splits a class path into two")
        << platform::ToolLine{{Kind::Program, "p"}, {Kind::ClassPath, "my lib;x.jar"}}
        << QStringList{"program: p", "class path: my", "class path: lib;x.jar"};
    QTest::newRow("what a blank splits off a program's name is a path")
        << platform::ToolLine{{Kind::Program, "C:\\Program Files\\jikes"}, {Kind::Option, "-d"}}
        << QStringList{"program: C:\\Program", "path: Files\\jikes", "option: -d"};
    QTest::newRow("an open quote takes the rest of the line into its word")
        << platform::ToolLine{{Kind::Program, "\"..\\bin\\jikes"}, {Kind::Option, "-Xstdout"}, {Kind::Interpreter, ">"}}
        << QStringList{"program: ..\\bin\\jikes -Xstdout"};
    QTest::newRow("quoted, the blank stays in the word")
        << platform::ToolLine{{Kind::Program, "j"}, {Kind::Option, "-d"}, {Kind::Path, "\"my classes\""}}
        << QStringList{"program: j", "option: -d", "path: my classes"};
    QTest::newRow("an empty program takes the next word for the program")
        << platform::ToolLine{{Kind::Program, ""}, {Kind::Option, "-cp"}, {Kind::Argument, "E;"}}
        << QStringList{"program: -cp", "argument: E;"};
}

void TestCommandLine::wordsAsSplit()
{
    QFETCH(platform::ToolLine, line);
    QFETCH(QStringList, split);
    QCOMPARE(described(platform::wordsAsSplit(line)), split);
}

void TestCommandLine::matchingNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("matched");

    const QStringList names{"b.java", "B.java", "a.java", "A.java", "a.javax", ".x.java", "x.JAVA", "ab.java", "java"};
    QTest::newRow("name order, case aside first") << names << "*.java"
                                                  << QStringList{"A.java", "a.java", "ab.java", "B.java", "b.java"};
    QTest::newRow("one character") << names << "?.java" << QStringList{"A.java", "a.java", "B.java", "b.java"};
    QTest::newRow("stars anywhere") << names << "*a*a*" << QStringList{"A.java", "a.java", "a.javax", "ab.java", "B.java", "b.java", "java"};
    QTest::newRow("no wildcard: the name itself") << names << "java" << QStringList{"java"};
    QTest::newRow("nothing") << names << "*.class" << QStringList{};
}

void TestCommandLine::matchingNames()
{
    QFETCH(QStringList, names);
    QFETCH(QString, pattern);
    QFETCH(QStringList, matched);
    QCOMPARE(platform::matchingNames(names, pattern), matched);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
