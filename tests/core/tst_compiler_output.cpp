#include "core/CompilerOutput.h"
#include "core/StringTable.h"

#include "support/CoreValues.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

using core::Severity;

Q_DECLARE_METATYPE(core::CompileEnd)

namespace {

// A reading as one comparable text: "E file:line:column text", "W ...",
// "+" for the text of the message before, or "-" for a plain line.
QString shown(const core::CompilerOutputReader::Reading &reading)
{
    const core::CompilerMessage &m = reading.message;
    if (reading.textOfLast)
        return QStringLiteral("+");
    if (m.severity == Severity::None)
        return QStringLiteral("-");
    return QStringLiteral("%1 %2:%3:%4 %5")
        .arg(m.severity == Severity::Error ? QStringLiteral("E") : QStringLiteral("W"))
        .arg(m.file)
        .arg(m.line)
        .arg(m.column)
        .arg(m.text);
}

platform::ProcessEnd ended(platform::ProcessEnd::Kind kind, quint32 code, const QString &name = {})
{
    return platform::ProcessEnd{kind, code, name};
}

} // namespace

class TestCompilerOutput : public QObject
{
    Q_OBJECT

private slots:
    void init() { core::setCurrentLanguage(core::Language::English); }
    void reader_data();
    void reader();
    void pieces_data();
    void pieces();
    void kept_data();
    void kept();
    void decodedInTheLocalesCodeSet();
    void functionBlock_data();
    void functionBlock();
    void endText_data();
    void endText();
};

void TestCompilerOutput::reader_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("readings");

    QTest::newRow("javac") << QStringList{"..\\lib\\fb\\rt\\net\\tcp\\Broken.java:6: error: cannot find symbol",
                                          "        return missing;", "               ^",
                                          "  symbol:   variable missing", "  location: class Broken",
                                          "X.java:3: warning: [deprecation] f() has been deprecated", "1 error",
                                          "1 warning"}
                           << QStringList{"E ..\\lib\\fb\\rt\\net\\tcp\\Broken.java:6:0 error: cannot find symbol",
                                          "-", "-", "-", "-",
                                          "W X.java:3:0 warning: [deprecation] f() has been deprecated", "-", "-"};
    QTest::newRow("javac in Japanese, a drive, an older javac")
        << QStringList{"C:\\kit\\lib\\fb\\rt\\a\\A.java:12: エラー: シンボルを見つけられません",
                       "C:\\kit\\A.java:2: 警告: 非推奨", "A.java:7: cannot resolve symbol"}
        << QStringList{"E C:\\kit\\lib\\fb\\rt\\a\\A.java:12:0 エラー: シンボルを見つけられません",
                       "W C:\\kit\\A.java:2:0 警告: 非推奨", "E A.java:7:0 cannot resolve symbol"};
    QTest::newRow("emacs-like") << QStringList{"A.java:12:5:12:9: Semantic Error: No field named \"y\"",
                                               "B.java:3:1:3:4: Semantic Warning: unused",
                                               "B.java:4:1:4:4: Lexical Caution: odd", "A.java:1:1:1:2: odd"}
                                << QStringList{"E A.java:12:5 Semantic Error: No field named \"y\"",
                                               "W B.java:3:1 Semantic Warning: unused",
                                               "W B.java:4:1 Lexical Caution: odd", "E A.java:1:1 odd"};
    QTest::newRow("default block") << QStringList{"Found 2 semantic errors compiling \"Broken.java\":", "",
                                                  "     6.         return missing;", "                ^-----^",
                                                  "*** Semantic Error: No field named \"missing\"", "",
                                                  "    12.         foo(", "    13.             bar);",
                                                  "                ^---", "*** Error: two lines",
                                                  "Found 1 semantic warning compiling \"C.java\":",
                                                  "     3.   int x;", "*** Caution: x is never read",
                                                  "*** Error: Could not find package"}
                                   << QStringList{"-", "-", "-", "-",
                                                  "E Broken.java:6:0 Semantic Error: No field named \"missing\"",
                                                  "-", "-", "-", "-", "E Broken.java:12:0 Error: two lines", "-",
                                                  "-", "W C.java:3:0 Caution: x is never read",
                                                  "E C.java:0:0 Error: Could not find package"};
    // javac 17's own words, English and Japanese (-J-Duser.language=ja):
    // what it says of its options and files names no file.
    QTest::newRow("javac 17 without a place")
        << QStringList{"error: file not found: ../lib/fb/rt/empty/*.java", "Usage: javac <options> <source files>",
                       "use --help for a list of possible options", "error: invalid flag: -Xfoo",
                       "warning: [options] bootstrap class path not set in conjunction with -source 8",
                       "Note: lib/fb/rt/net/tcp/Warn.java uses or overrides a deprecated API.",
                       "error: warnings found and -Werror specified",
                       "Error: Class names, 'x', are only accepted if annotation processing is explicitly requested",
                       "1 error", "4 warnings"}
        << QStringList{"E :0:0 error: file not found: ../lib/fb/rt/empty/*.java", "-", "-",
                       "E :0:0 error: invalid flag: -Xfoo",
                       "W :0:0 warning: [options] bootstrap class path not set in conjunction with -source 8", "-",
                       "E :0:0 error: warnings found and -Werror specified",
                       "E :0:0 Error: Class names, 'x', are only accepted if annotation processing is explicitly requested",
                       "-", "-"};
    QTest::newRow("javac 17 in Japanese")
        << QStringList{"エラー: ファイルが見つかりません: ../lib/fb/rt/empty/*.java", "使用方法: javac <options> <source files>",
                       "警告:[options] ブートストラップ・クラスパスが-source 8と一緒に設定されていません",
                       "lib/fb/rt/net/tcp/Warn.java:4: 警告:[deprecation] Threadのstop()は推奨されません",
                       "  汎用クラスList<E>の型引数がありません",
                       "ノート:lib/fb/rt/net/tcp/Warn.javaは推奨されないAPIを使用またはオーバーライドしています。",
                       "エラー: 警告が見つかり-Werrorが指定されました", "エラー1個", "警告4個"}
        << QStringList{"E :0:0 エラー: ファイルが見つかりません: ../lib/fb/rt/empty/*.java", "-",
                       "W :0:0 警告:[options] ブートストラップ・クラスパスが-source 8と一緒に設定されていません",
                       "W lib/fb/rt/net/tcp/Warn.java:4:0 警告:[deprecation] Threadのstop()は推奨されません", "-", "-",
                       "E :0:0 エラー: 警告が見つかり-Werrorが指定されました", "-", "-"};
    QTest::newRow("an older javac's usage error, the kit compiler's system error")
        << QStringList{"javac: invalid flag: -Xstdout", "Found 1 system error:",
                       "*** Semantic Error: You need to modify your classpath"}
        << QStringList{"E :0:0 javac: invalid flag: -Xstdout", "-",
                       "E :0:0 Semantic Error: You need to modify your classpath"};
    // ecj 3.32's block (it names the file absolute, whatever it was given).
    QTest::newRow("ecj") << QStringList{"----------", "1. ERROR in /tmp/j31/lib/fb/rt/net/tcp/Broken.java (at line 5)",
                                        "\treturn missing;", "\t       ^^^^^^^",
                                        "missing cannot be resolved to a variable", "----------",
                                        "2. WARNING in /tmp/j31/lib/fb/rt/net/tcp/Warn.java (at line 4)",
                                        "\tvoid g() { new Thread().stop(); }", "\t                        ^^^^^^",
                                        "The method stop() from the type Thread is deprecated", "----------",
                                        "3. ERROR in C:\\kit\\lib\\fb\\rt\\a\\A.java", "----------",
                                        "8 problems (1 error, 7 warnings)", "\tx"}
                         << QStringList{"-", "E /tmp/j31/lib/fb/rt/net/tcp/Broken.java:5:0 ERROR in /tmp/j31/lib/fb/rt/net/tcp/Broken.java (at line 5)",
                                        "-", "-", "+", "-",
                                        "W /tmp/j31/lib/fb/rt/net/tcp/Warn.java:4:0 WARNING in /tmp/j31/lib/fb/rt/net/tcp/Warn.java (at line 4)",
                                        "-", "-", "+", "-", "E C:\\kit\\lib\\fb\\rt\\a\\A.java:0:0 ERROR in C:\\kit\\lib\\fb\\rt\\a\\A.java",
                                        "-", "-", "-"};
    QTest::newRow("look-alikes stay plain")
        << QStringList{"12:30:45 build started", "Time: 12:30: slow", "Note: Some input files use unchecked",
                       "     6.  numbered, but no block", "Found 2 things", "C:\\x:9", "a:b:1:2", ":1: x", "",
                       "1. ERRORS in x", "1.ERROR in x", "errors: none", "my error: none"}
        << QStringList{"-", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-"};
}

void TestCompilerOutput::reader()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, readings);
    core::CompilerOutputReader reader;
    QStringList got;
    for (const QString &line : lines)
        got << shown(reader.read(line));
    QCOMPARE(got, readings);
}

// However the bytes come, the lines are the same: cut anywhere, CR LF or
// LF, the last one without an end.
void TestCompilerOutput::pieces_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("warnings");

    const QByteArray all = "A.java:1: error: x\r\nplain\nB.java:2: warning: y\r\nlast";
    const QStringList lines{"A.java:1: error: x", "plain", "B.java:2: warning: y", "last"};
    QTest::newRow("whole") << QList<QByteArray>{all} << lines << 1 << 1;
    QTest::newRow("cut inside lines and between CR and LF")
        << QList<QByteArray>{all.left(5), all.mid(5, 14), all.mid(19, 7), all.mid(26)} << lines << 1 << 1;
    QTest::newRow("byte by byte") << [&] {
        QList<QByteArray> bytes;
        for (char c : all)
            bytes << QByteArray(1, c);
        return bytes;
    }() << lines << 1 << 1;
    QTest::newRow("empty lines kept") << QList<QByteArray>{"\n\nx\n"} << QStringList{"", "", "x"} << 0 << 0;
    QTest::newRow("a line without end, cut") << QList<QByteArray>{QByteArray(70000, 'a'), "b\n"}
                                              << QStringList{QString(70000, u'a'), "b"} << 0 << 0;
}

void TestCompilerOutput::pieces()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QStringList, lines);
    QFETCH(int, errors);
    QFETCH(int, warnings);
    core::CompileOutput output;
    QStringList got;
    for (const QByteArray &piece : pieces) {
        for (const core::OutputLine &line : output.take(piece))
            got << line.text;
    }
    for (const core::OutputLine &line : output.finish())
        got << line.text;
    QCOMPARE(got, lines);
    QCOMPARE(output.errors(), errors);
    QCOMPARE(output.warnings(), warnings);
}

// The messages kept are those of the lines kept, so every marked line the
// window shows opens; ecj's text, below its place, takes the place's words
// and is marked as its message is. Every message is counted.
void TestCompilerOutput::kept_data()
{
    QTest::addColumn<int>("keptLines");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("marks");     // per line: "-", or E/W and the message's number
    QTest::addColumn<QStringList>("messages");  // the kept ones: "number file:line text"
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("warnings");

    const QByteArray javac = "A.java:1: error: a\nB.java:2: error: b\nplain\nC.java:3: warning: c\n";
    QTest::newRow("the last lines' messages") << 3 << javac << QStringList{"E0", "E1", "-", "W2"}
                                              << QStringList{"1 B.java:2 error: b", "2 C.java:3 warning: c"} << 2 << 1;
    const QByteArray ecj = "1. ERROR in /k/A.java (at line 5)\n\treturn missing;\n\t       ^^^\n"
                           "missing cannot be resolved to a variable\n----------\n";
    QTest::newRow("ecj") << 10 << ecj << QStringList{"E0", "-", "-", "E0", "-"}
                         << QStringList{"0 /k/A.java:5 missing cannot be resolved to a variable"} << 1 << 0;
    QTest::newRow("ecj, its place's line gone, its text's kept") << 3 << ecj << QStringList{"E0", "-", "-", "E0", "-"}
                                                                 << QStringList{"0 /k/A.java:5 missing cannot be resolved to a variable"}
                                                                 << 1 << 0;
}

void TestCompilerOutput::kept()
{
    QFETCH(int, keptLines);
    QFETCH(QByteArray, output);
    QFETCH(QStringList, marks);
    QFETCH(QStringList, messages);
    QFETCH(int, errors);
    QFETCH(int, warnings);
    core::CompileOutput read(keptLines);
    QStringList got;
    for (const core::OutputLine &line : read.take(output)) {
        got << (line.severity == Severity::None ? QStringLiteral("-")
                                                : (line.severity == Severity::Error ? QStringLiteral("E") : QStringLiteral("W"))
                                                      + QString::number(line.message));
    }
    QCOMPARE(got, marks);
    QStringList kept;
    for (qint64 number = 0; number < read.messageCount(); ++number) {
        if (const core::CompilerMessage *m = read.message(number))
            kept << QStringLiteral("%1 %2:%3 %4").arg(number).arg(m->file).arg(m->line).arg(m->text);
    }
    QCOMPARE(kept, messages);
    QCOMPARE(read.firstKept(), read.messageCount() - messages.size());
    QCOMPARE(read.errors(), errors);
    QCOMPARE(read.warnings(), warnings);
}

// javac writes in the locale's code set, which on Linux need not be UTF-8.
void TestCompilerOutput::decodedInTheLocalesCodeSet()
{
#ifdef Q_OS_WIN
    QSKIP("Windows programs write in the ANSI code page, which a test cannot change");
#else
    QTemporaryDir locales;
    const QString locale = locales.filePath(QStringLiteral("ja_JP.EUC-JP"));
    if (QProcess::execute(QStringLiteral("localedef"), {"-i", "ja_JP", "-f", "EUC-JP", locale}) > 1
        || !QFileInfo(locale).isDir())
        QSKIP("localedef cannot make a Japanese EUC-JP locale here (Debian's locales package)");
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
    QVERIFY(setlocale(LC_CTYPE, "ja_JP.EUC-JP"));
    const QString line = QStringLiteral("Broken.java:5: エラー: シンボルを見つけられません");
    QStringEncoder eucJp("EUC-JP");
    core::CompileOutput read;
    const QList<core::OutputLine> lines = read.take(QByteArray(eucJp.encode(line)) + '\n');
    setlocale(LC_CTYPE, "C");
    qunsetenv("LOCPATH");
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].text, line);
    QCOMPARE(read.errors(), 1);
#endif
}

void TestCompilerOutput::functionBlock_data()
{
    QTest::addColumn<QString>("javaFile");
    QTest::addColumn<QString>("compiled");
    QTest::addColumn<QString>("block");  // shown path, or empty for none

    QTest::newRow("relative") << "..\\lib\\fb\\rt\\net\\tcp\\Broken.java" << "hmi" << "src\\net\\tcp\\Broken.fbt";
    QTest::newRow("absolute, slashes") << "/home/u/kit/lib/fb/rt/mypkg/Counter.java" << "" << "src\\mypkg\\Counter.fbt";
    QTest::newRow("drive, other case") << "C:\\Kit\\LIB\\FB\\RT\\hmi\\Lamp.JAVA" << "" << "src\\hmi\\Lamp.fbt";
    QTest::newRow("the last tree counts") << "..\\lib\\fb\\rt\\a\\lib\\fb\\rt\\b\\X.java" << "" << "src\\b\\X.fbt";
    QTest::newRow("bare name: the compiled package") << "Broken.java" << "net\\tcp" << "src\\net\\tcp\\Broken.fbt";
    QTest::newRow("bare name, nothing compiled") << "Broken.java" << "" << "";
    QTest::newRow("straight in the tree") << "..\\lib\\fb\\rt\\X.java" << "a" << "";
    QTest::newRow("outside the tree") << "..\\src\\util\\X.java" << "a" << "";
    QTest::newRow("a tree's look-alike") << "..\\mylib\\fb\\rt\\a\\X.java" << "a" << "";
    QTest::newRow("not Java") << "..\\lib\\fb\\rt\\a\\X.class" << "a" << "";
}

void TestCompilerOutput::functionBlock()
{
    QFETCH(QString, javaFile);
    QFETCH(QString, compiled);
    QFETCH(QString, block);
    const std::optional<core::FunctionBlockFile> found = core::functionBlockOf(javaFile, compiled);
    QCOMPARE(found ? found->shownPath() : QString(), block);
}

void TestCompilerOutput::endText_data()
{
    using Kind = platform::ProcessEnd::Kind;
    using How = core::CompileEnd::How;
    QTest::addColumn<int>("language");
    QTest::addColumn<core::CompileEnd>("end");
    QTest::addColumn<QString>("text");

    const int en = int(core::Language::English);
    const int ja = int(core::Language::Japanese);
    QTest::newRow("success") << en << core::CompileEnd{How::Ended, ended(Kind::Exited, 0), 0, 0}
                             << "Compile: the compiler ended with status 0 (success); no errors or warnings";
    QTest::newRow("warnings only") << en << core::CompileEnd{How::Ended, ended(Kind::Exited, 0), 0, 3}
                                   << "Compile: the compiler ended with status 0 (success); 3 warnings";
    QTest::newRow("failure") << en << core::CompileEnd{How::Ended, ended(Kind::Exited, 1), 2, 1}
                             << "Compile: the compiler ended with status 1; 2 errors, 1 warning";
    QTest::newRow("status past 2^31, as the command interpreter shows it")
        << en << core::CompileEnd{How::Ended, ended(Kind::Exited, 0xFFFFFFFFu), 1, 0}
        << "Compile: the compiler ended with status -1; 1 error";
    QTest::newRow("signal") << en << core::CompileEnd{How::Ended, ended(Kind::Signalled, 11, "SIGSEGV"), 0, 0}
                            << "Compile: the compiler crashed with signal 11 (SIGSEGV); no errors or warnings";
    QTest::newRow("exception code") << en << core::CompileEnd{How::Ended, ended(Kind::Crashed, 0xC0000005u), 1, 2}
                                    << "Compile: the compiler crashed with exception code 0xC0000005; 1 error, 2 warnings";
    QTest::newRow("stopped") << en << core::CompileEnd{How::Stopped, ended(Kind::Signalled, 9, "SIGKILL"), 4, 0}
                             << "Compile: stopped, the compiler was ended; 4 errors";
    QTest::newRow("not started") << en << core::CompileEnd{How::NotStarted, {}, 0, 0}
                                 << "Compile: the compiler could not be started; Tool > Check Kit... says why";
    QTest::newRow("Japanese failure") << ja << core::CompileEnd{How::Ended, ended(Kind::Exited, 1), 2, 1}
                                      << QString::fromUtf8("コンパイル: コンパイラは 終了コード 1 で終了しました。エラー 2 件、警告 1 件");
    QTest::newRow("Japanese crash") << ja << core::CompileEnd{How::Ended, ended(Kind::Crashed, 0xC0000094u), 0, 0}
                                    << QString::fromUtf8("コンパイル: コンパイラが 例外コード 0xC0000094 で異常終了しました。エラー・警告なし");
}

void TestCompilerOutput::endText()
{
    QFETCH(int, language);
    QFETCH(core::CompileEnd, end);
    QFETCH(QString, text);
    core::setCurrentLanguage(core::Language(language));
    QCOMPARE(core::compileEndText(end), text);
}

QTEST_APPLESS_MAIN(TestCompilerOutput)
#include "tst_compiler_output.moc"
