#include "platform/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void pieces_data();
    void pieces();
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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
