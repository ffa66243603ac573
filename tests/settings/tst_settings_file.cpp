#include "settings/SettingsAccess.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


using settings::Values;

namespace {

const QByteArray kDefaultFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!-- TAVO_Starter Settings-->\r\n"
    "<settings>\r\n"
    "   <Editor JREpath=\"..\\bin\\jre\" libpath=\"..\\lib;..\\fb.jar;..\\fbrt.jar;\" dt-packages=\"\" "
    "javapath=\"..\\lib\\fb\\rt\\\"/>\r\n"
    "   <Compiler CP=\"..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;\" "
    "Compiler=\"..\\bin\\jikes\" ClassDirectory=\"\"/>\r\n"
    "   <Properties Organization=\"\" Author=\"\"/>\r\n"
    "</settings>\r\n";

} // namespace

class tst_settings_file : public QObject
{
    Q_OBJECT

    QTemporaryDir m_kit;

    // The settings path as the program builds it, with a backslash.
    QString settingsPath() const { return settings::GetSettingsPath(m_kit.path()); }
    QString diskPath() const { return m_kit.path() + QStringLiteral("/TAVO_Starter.ini"); }

    void writeFile(const QByteArray &bytes)
    {
        QFile f(diskPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QByteArray readFile() const
    {
        QFile f(diskPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The values over the defaults; what the reader found goes to m_outcome.
    Values load()
    {
        Values v = settings::defaultValues();
        m_outcome = settings::LoadSettings(settingsPath(), v);
        return v;
    }
    settings::LoadOutcome m_outcome = settings::LoadOutcome::Missing;

private slots:
    void init()
    {
        QFile::remove(diskPath());
    }

    void pathAndIndent()
    {
        QCOMPARE(settings::GetSettingsPath(QStringLiteral("C:\\kit")), QStringLiteral("C:\\kit\\TAVO_Starter.ini"));
        QCOMPARE(settings::IndentNode(0), QStringLiteral("\r\n"));
        QCOMPARE(settings::IndentNode(1), QStringLiteral("\r\n   "));
        QCOMPARE(settings::IndentNode(3), QStringLiteral("\r\n         "));
        QCOMPARE(settings::IndentNode(-2), QStringLiteral("\r\n"));
    }

    void defaultFileIsByteExact()
    {
        QCOMPARE(settings::settingsDocument(settings::defaultValues()), kDefaultFile);
        QVERIFY(settings::SaveSettings(settingsPath(), settings::defaultValues()));
        QCOMPARE(readFile(), kDefaultFile);
        // Saving again replaces the file whole.
        Values v = settings::defaultValues();
        v.insert(settings::kAuthor, QStringLiteral("x"));
        QVERIFY(settings::SaveSettings(settingsPath(), v));
        QVERIFY(settings::SaveSettings(settingsPath(), settings::defaultValues()));
        QCOMPARE(readFile(), kDefaultFile);
    }

    void noFileKeepsDefaults()
    {
        const Values v = load();
        QCOMPARE(m_outcome, settings::LoadOutcome::Missing);
        QCOMPARE(v, settings::defaultValues());
        QCOMPARE(v.value(settings::kCompiler), QStringLiteral("..\\bin\\jikes"));
        QCOMPARE(v.value(settings::kCP),
                 QStringLiteral("..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;"));
        QCOMPARE(v.value(settings::kClassDirectory), QString());
    }

    void lineForm_data()
    {
        QTest::addColumn<QByteArray>("file");
        // JREpath, libpath, dt-packages, javapath, Organization, Author, CP;
        // "=" marks a key the file does not reach.
        QTest::addColumn<QStringList>("expected");
        const QString d = QStringLiteral("=");
        QTest::newRow("seven lines") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n")
                                     << QStringList{"a", "b", "c", "d", "e", "f", "g"};
        QTest::newRow("three lines") << QByteArray("a\r\nb\r\nc\r\n") << QStringList{"a", "b", "c", d, d, d, d};
        QTest::newRow("comma splits a line") << QByteArray("a,b\r\nc\r\n")
                                             << QStringList{"a", "b", "c", d, d, d, d};
        QTest::newRow("quotes keep commas and blanks")
            << QByteArray("\"x, y \"\r\n  \"\"\r\nz\r\n") << QStringList{"x, y ", "", "z", d, d, d, d};
        QTest::newRow("blanks around unquoted") << QByteArray("  a b  \r\n\tc\r\n")
                                                << QStringList{"a b", "c", d, d, d, d, d};
        QTest::newRow("empty line is an empty value") << QByteArray("a\r\n\r\nc")
                                                      << QStringList{"a", "", "c", d, d, d, d};
        QTest::newRow("LF and CR line ends") << QByteArray("a\nb\rc\r\nd")
                                             << QStringList{"a", "b", "c", "d", d, d, d};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF..\\jre\r\n")
                                         << QStringList{"..\\jre", d, d, d, d, d, d};
        QTest::newRow("more than seven") << QByteArray("1,2,3,4,5,6,7,8,9")
                                         << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        // Written in the system's 8-bit code page: UTF-8 on Linux, 1252 where
        // the Windows tests run (and 932 on a Japanese Windows, where the
        // second row's bytes are Shift JIS).
#ifdef Q_OS_WIN
        const QString utf8Text = QString::fromUtf8("\xC3\xA3\xC6\x92\xE2\x80\xA0\xC3\xA3\xE2\x80\x9A\xC2\xB9\xC3\xA3\xC6\x92\xCB\x86");
        const QString sjisText = QString::fromUtf8("\xC6\x92" "e" "\xC6\x92" "X" "\xC6\x92" "g");
#else
        const QString utf8Text = QString::fromUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
        const QString sjisText = QString::fromUtf8("\xEF\xBF\xBD" "e" "\xEF\xBF\xBD" "X" "\xEF\xBF\xBD" "g");
#endif
        QTest::newRow("utf-8 text") << QByteArray("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\n")
                                    << QStringList{utf8Text, d, d, d, d, d, d};
        QTest::newRow("shift jis text") << QByteArray("\x83\x65\x83\x58\x83\x67,x\r\n")
                                        << QStringList{sjisText, "x", d, d, d, d, d};
        QTest::newRow("empty file") << QByteArray() << QStringList{d, d, d, d, d, d, d};
    }
    void lineForm()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        writeFile(file);
        const Values v = load();
        QCOMPARE(m_outcome, settings::LoadOutcome::LineForm);
        const QStringList order = {settings::kJREpath, settings::kLibpath, settings::kDtPackages,
                                   settings::kJavapath, settings::kOrganization, settings::kAuthor,
                                   settings::kCP};
        for (int i = 0; i < order.size(); ++i) {
            const QString want = expected.at(i) == QLatin1String("=") ? settings::defaultValue(order.at(i))
                                                                      : expected.at(i);
            QCOMPARE(v.value(order.at(i)), want);
        }
        // The line form never carries these two.
        QCOMPARE(v.value(settings::kCompiler), settings::defaultValue(settings::kCompiler));
        QCOMPARE(v.value(settings::kClassDirectory), QString());
    }

    void legacyReaderLeavesUnreachedValues()
    {
        writeFile("a\r\n");
        Values v{{settings::kLibpath, QStringLiteral("kept")}};
        bool busyOn = false, busyOff = false;
        settings::LoadLegacySettings(settingsPath(), v, [&](bool on) { (on ? busyOn : busyOff) = true; });
        QCOMPARE(v.value(settings::kJREpath), QStringLiteral("a"));
        QCOMPARE(v.value(settings::kLibpath), QStringLiteral("kept"));
        QVERIFY(busyOn && busyOff);
    }

    void specialCharactersRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("markup") << QStringLiteral("a&b<c>d\"e'f");
        QTest::newRow("entities as text") << QStringLiteral("&amp; &lt; &#10;");
        QTest::newRow("tab and line breaks") << QStringLiteral("x\ty\r\nz\nw\r");
        QTest::newRow("blanks kept") << QStringLiteral("  lead and trail  ");
        QTest::newRow("backslashes") << QStringLiteral("..\\lib\\fb\\rt\\");
        QTest::newRow("japanese") << QString::fromUtf8("\xE3\x82\xAA\xE3\x83\x97\xE3\x82\xB7\xE3\x83\xA7\xE3\x83\xB3 \xF0\x9F\x98\x80");
        QTest::newRow("empty") << QString();
    }
    void specialCharactersRoundTrip()
    {
        QFETCH(QString, value);
        Values v = settings::defaultValues();
        for (const QString &key : settings::allKeys())
            v.insert(key, key + value);
        QVERIFY(settings::SaveSettings(settingsPath(), v));
        QCOMPARE(load(), v);
    }

    void unwritableCharactersAreDroppedNotTheFile()
    {
        Values v = settings::defaultValues();
        v.insert(settings::kAuthor, QStringLiteral("a") + QChar(1) + QChar(0) + QStringLiteral("b"));
        v.insert(settings::kCompiler, QStringLiteral("jc"));
        QVERIFY(settings::SaveSettings(settingsPath(), v));
        const Values back = load();
        QCOMPARE(back.value(settings::kAuthor), QStringLiteral("ab"));
        QCOMPARE(back.value(settings::kCompiler), QStringLiteral("jc"));
    }

    void elementsAtAnyDepthAndOrder()
    {
        writeFile("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<root><x other=\"1\">\n"
                  "  <deep><Properties Author=\"au\" extra=\"no\" Organization=\"org\"/></deep>\n"
                  "  <Compiler ClassDirectory=\"cls\" Compiler=\"jc\" CP=\"cp\"/>\n"
                  "</x>\n"
                  "<Editor javapath=\"jp\" dt-packages=\"dt\" libpath=\"lp\" JREpath=\"jre\"><Editor JREpath=\"second\"/></Editor>\n"
                  "<Compiler CP=\"second\"/>\n"
                  "</root>");
        const Values v = load();
        const Values want{{settings::kJREpath, "jre"},      {settings::kLibpath, "lp"},
                          {settings::kDtPackages, "dt"},    {settings::kJavapath, "jp"},
                          {settings::kCP, "cp"},            {settings::kCompiler, "jc"},
                          {settings::kClassDirectory, "cls"}, {settings::kOrganization, "org"},
                          {settings::kAuthor, "au"}};
        QCOMPARE(v, want);
    }

    // A well-formed file lacking a group or an attribute gives what it has;
    // the rest keep their values, and no XML markup turns into a setting.
    void wellFormedButIncomplete_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Values>("changed");
        QTest::newRow("no Compiler group")
            << QByteArray("<settings>\r\n   <Editor JREpath=\"j\" libpath=\"l\" dt-packages=\"d\" javapath=\"p\"/>\r\n"
                          "   <Properties Organization=\"o\" Author=\"a\"/>\r\n</settings>\r\n")
            << Values{{settings::kJREpath, "j"}, {settings::kLibpath, "l"}, {settings::kDtPackages, "d"},
                      {settings::kJavapath, "p"}, {settings::kOrganization, "o"}, {settings::kAuthor, "a"}};
        QTest::newRow("no libpath attribute")
            << QByteArray("<settings><Editor JREpath=\"j\"/><Compiler CP=\"c\" Compiler=\"k\" ClassDirectory=\"x\"/>"
                          "<Properties Organization=\"o\" Author=\"a\"/></settings>")
            << Values{{settings::kJREpath, "j"}, {settings::kCP, "c"}, {settings::kCompiler, "k"},
                      {settings::kClassDirectory, "x"}, {settings::kOrganization, "o"}, {settings::kAuthor, "a"}};
        QTest::newRow("no groups at all") << QByteArray("<settings/>") << Values{};
    }
    void wellFormedButIncomplete()
    {
        QFETCH(QByteArray, file);
        QFETCH(Values, changed);
        writeFile(file);
        Values want = settings::defaultValues();
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            want.insert(it.key(), it.value());
        QCOMPARE(load(), want);
    }

    // A file that begins as XML but is not well-formed (a cut write, a hand
    // edit) gives nothing: neither its XML part nor its lines as the line
    // form, which would make markup into settings.
    void brokenXmlGivesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        Values v = settings::defaultValues();
        v.insert(settings::kJREpath, QStringLiteral("fromxml"));
        const QByteArray whole = settings::settingsDocument(v);
        QTest::newRow("cut write") << whole.left(whole.indexOf("</settings>"));
        QByteArray bare = kDefaultFile;
        bare.replace("Author=\"\"", "Author=\"Smith & Sons\"");
        QTest::newRow("bare ampersand") << bare;
        QTest::newRow("byte-order mark and blank line") << QByteArray("\xEF\xBB\xBF\r\n<settings><Editor JREpath=\"j\">");
        QTest::newRow("entity references undeclared") << QByteArray("<settings><Editor JREpath=\"&nope;\"/></settings>");
        QTest::newRow("two roots") << QByteArray("<a/><Editor JREpath=\"j\"/>");
    }
    void brokenXmlGivesNothing()
    {
        QFETCH(QByteArray, file);
        writeFile(file);
        QCOMPARE(load(), settings::defaultValues());
        QCOMPARE(m_outcome, settings::LoadOutcome::Malformed);
        QVERIFY(settings::keptUnread(settings::LoadOutcome::Malformed));
    }

    // There, but not to be read: a folder where the file should be.
    void unreadableFileGivesNothing()
    {
        QVERIFY(QDir().mkdir(diskPath()));
        const Values v = load();
        QDir().rmdir(diskPath());
        QCOMPARE(m_outcome, settings::LoadOutcome::Unreadable);
        QCOMPARE(v, settings::defaultValues());
    }

    // Files that are neither XML nor written by the program load without
    // harm: Compiler and ClassDirectory, which only XML carries, keep their
    // defaults, and the line form takes what it finds.
    void badFilesDoNotBreakLoading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Values>("changed");
        // No delimiter among the bytes: one value, in the 8-bit code page,
        // where these bytes are no UTF-8 at all and 1252's punctuation.
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char(0x80 + i % 16));
#ifdef Q_OS_WIN
        const QString block = QString::fromUtf8("\xE2\x82\xAC\xC2\x81\xE2\x80\x9A\xC6\x92\xE2\x80\x9E\xE2\x80\xA6\xE2\x80\xA0\xE2\x80\xA1"
                                                "\xCB\x86\xE2\x80\xB0\xC5\xA0\xE2\x80\xB9\xC5\x92\xC2\x8D\xC5\xBD\xC2\x8F");
#else
        const QString block(16, QChar(0xFFFD));
#endif
        QTest::newRow("binary") << binary << Values{{settings::kJREpath, block.repeated(256)}};
        QTest::newRow("huge single line") << QByteArray(20 * 1024 * 1024, 'x')
                                          << Values{{settings::kJREpath, QString(20 * 1024 * 1024, QLatin1Char('x'))}};
        QByteArray hugeXml = "<settings><Editor JREpath=\"";
        hugeXml.append(QByteArray(8 * 1024 * 1024, 'y'));
        hugeXml.append("\"/></settings>");
        QTest::newRow("huge attribute") << hugeXml
                                        << Values{{settings::kJREpath, QString(8 * 1024 * 1024, QLatin1Char('y'))}};
    }
    void badFilesDoNotBreakLoading()
    {
        QFETCH(QByteArray, file);
        QFETCH(Values, changed);
        writeFile(file);
        Values want = settings::defaultValues();
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            want.insert(it.key(), it.value());
        QCOMPARE(load(), want);
        QCOMPARE(m_outcome, file.startsWith('<') ? settings::LoadOutcome::Xml : settings::LoadOutcome::LineForm);
    }

    void failedSaveKeepsOldFile()
    {
        // A folder that is a file: nothing can be written below it.
        QFile blocker(m_kit.path() + QStringLiteral("/notadir"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!settings::SaveSettings(settings::GetSettingsPath(m_kit.path() + QStringLiteral("\\notadir")),
                                        settings::defaultValues()));

        // A read-only folder holding an older read-only file (a writable one
        // is written in place; see the fault tests).
        QTemporaryDir locked;
        const QString file = locked.path() + QStringLiteral("/TAVO_Starter.ini");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        QVERIFY(QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        // Whoever may write a read-only file anyway (root, or Wine run as
        // root) cannot see this fault.
        const bool enforced = !QFile(file).open(QIODevice::ReadWrite);
        const bool saved = settings::SaveSettings(settings::GetSettingsPath(locked.path()), settings::defaultValues());
        QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!enforced)
            QSKIP("this user writes read-only files");
        QVERIFY(!saved);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
        QCOMPARE(QDir(locked.path()).entryList(QDir::Files), QStringList{"TAVO_Starter.ini"});
    }
};

QTEST_GUILESS_MAIN(tst_settings_file)
#include "tst_settings_file.moc"
