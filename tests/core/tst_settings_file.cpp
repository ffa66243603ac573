#include "core/Kit.h"
#include "core/SettingsFile.h"
#include "core/StringTable.h"

#include "support/CoreValues.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


// A few keys and the values they take.
using Values = QHash<QString, QString>;

namespace {

// Text as UTF-16 bytes, little or big end first, with or without the mark.
QByteArray utf16(const QString &text, bool littleEndian, bool mark)
{
    QByteArray bytes;
    for (QChar c : (mark ? QString(QChar(0xFEFF)) : QString()) + text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

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
    QString settingsPath() const { return core::Kit(m_kit.path()).settingsFile(); }
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
    core::Settings load()
    {
        core::Settings v;
        m_outcome = core::readSettingsFile(settingsPath(), v);
        return v;
    }
    core::LoadOutcome m_outcome = core::LoadOutcome::Missing;

private slots:
    void init()
    {
        QFile::remove(diskPath());
    }

    void pathAndIndent()
    {
        QCOMPARE(core::Kit(QStringLiteral("C:\\kit")).settingsFile(), QStringLiteral("C:\\kit\\TAVO_Starter.ini"));
        QCOMPARE(core::IndentNode(0), QStringLiteral("\r\n"));
        QCOMPARE(core::IndentNode(1), QStringLiteral("\r\n   "));
        QCOMPARE(core::IndentNode(3), QStringLiteral("\r\n         "));
        QCOMPARE(core::IndentNode(-2), QStringLiteral("\r\n"));
    }

    void defaultFileIsByteExact()
    {
        QCOMPARE(core::settingsDocument(core::Settings()), kDefaultFile);
        QVERIFY(core::writeSettingsFile(settingsPath(), core::Settings()));
        QCOMPARE(readFile(), kDefaultFile);
        // Saving again replaces the file whole.
        core::Settings v;
        v.setValue(core::kAuthor, QStringLiteral("x"));
        QVERIFY(core::writeSettingsFile(settingsPath(), v));
        QVERIFY(core::writeSettingsFile(settingsPath(), core::Settings()));
        QCOMPARE(readFile(), kDefaultFile);
    }

    void noFileKeepsDefaults()
    {
        const core::Settings v = load();
        QCOMPARE(m_outcome, core::LoadOutcome::Missing);
        QCOMPARE(v, core::Settings());
        QCOMPARE(v.value(core::kCompiler), QStringLiteral("..\\bin\\jikes"));
        QCOMPARE(v.value(core::kCP),
                 QStringLiteral("..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;"));
        QCOMPARE(v.value(core::kClassDirectory), QString());
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
        // A mark decides the encoding, on Windows as elsewhere.
        QTest::newRow("byte-order mark, utf-8 text") << QByteArray("\xEF\xBB\xBF" "C:\\J\xC3\xA4v\xC3\xA4,b\r\n")
                                                     << QStringList{"C:\\J\u00e4v\u00e4", "b", d, d, d, d, d};
        QTest::newRow("utf-16 with its mark") << utf16(QStringLiteral("J\u00e4v\u00e4\r\nb"), true, true)
                                              << QStringList{"J\u00e4v\u00e4", "b", d, d, d, d, d};
        QTest::newRow("more than seven") << QByteArray("1,2,3,4,5,6,7,8,9")
                                         << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        // Written in the system's 8-bit code page: UTF-8 on Linux, 1252 where
        // the Windows tests run. Bytes that are not UTF-8 come from Windows:
        // on Linux they are read in the Windows code page of the user's
        // language, 1252 in this English session (932 in a Japanese one:
        // lineFormInTheUsersCodePage).
#ifdef Q_OS_WIN
        const QString utf8Text = QString::fromUtf8("\xC3\xA3\xC6\x92\xE2\x80\xA0\xC3\xA3\xE2\x80\x9A\xC2\xB9\xC3\xA3\xC6\x92\xCB\x86");
#else
        const QString utf8Text = QString::fromUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
#endif
        QTest::newRow("utf-8 text") << QByteArray("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\n")
                                    << QStringList{utf8Text, d, d, d, d, d, d};
        QTest::newRow("shift jis text, as 1252") << QByteArray("\x83\x65\x83\x58\x83\x67,x\r\n")
                                                 << QStringList{QStringLiteral("\u0192e\u0192X\u0192g"), "x", d, d, d, d, d};
        QTest::newRow("1252 text") << QByteArray("Org\xE9\r\n") << QStringList{QStringLiteral("Org\u00e9"), d, d, d, d, d, d};
        QTest::newRow("empty file") << QByteArray() << QStringList{d, d, d, d, d, d, d};
    }
    void lineForm()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        writeFile(file);
        const core::Settings v = load();
        QCOMPARE(m_outcome, core::LoadOutcome::LineForm);
        const QStringList order = {core::kJREpath, core::kLibpath, core::kDtPackages,
                                   core::kJavapath, core::kOrganization, core::kAuthor,
                                   core::kCP};
        for (int i = 0; i < order.size(); ++i) {
            const QString want = expected.at(i) == QLatin1String("=") ? core::Settings::defaultValue(order.at(i))
                                                                      : expected.at(i);
            QCOMPARE(v.value(order.at(i)), want);
        }
        // The line form never carries these two.
        QCOMPARE(v.value(core::kCompiler), core::Settings::defaultValue(core::kCompiler));
        QCOMPARE(v.value(core::kClassDirectory), QString());
    }

    // On Linux, bytes that are not UTF-8 are read in the Windows code page
    // of the user's language; bytes that one cannot read leave the file
    // unread, never a stand-in character in a field. (Windows reads its
    // own code page, 1252 where the tests run, in either language.)
    void lineFormInTheUsersCodePage_data()
    {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("jre");  // empty: the file is not read
        const QByteArray sjis("\x83\x65\x83\x58\x83\x67\\bin\r\n");
#ifdef Q_OS_WIN
        QTest::newRow("shift jis, Japanese session") << true << sjis << QStringLiteral("\u0192e\u0192X\u0192g\\bin");
#else
        QTest::newRow("shift jis, Japanese session") << true << sjis << QStringLiteral("\u30c6\u30b9\u30c8\\bin");
        QTest::newRow("utf-8 stays utf-8") << true << QByteArray("J\xC3\xA4va\r\n") << QStringLiteral("J\u00e4va");
        QTest::newRow("a lead byte cut off") << true << QByteArray("a\r\n\x83") << QString();
        QTest::newRow("bytes 932 has no character for") << true << QByteArray("\xFD\xFE\r\n") << QString();
#endif
        QTest::newRow("utf-16 cut in a code unit") << false << QByteArray("\xFF\xFE" "a\x00" "b", 5) << QString();
    }
    void lineFormInTheUsersCodePage()
    {
        QFETCH(bool, japanese);
        QFETCH(QByteArray, file);
        QFETCH(QString, jre);
        writeFile(file);
        core::setCurrentLanguage(japanese ? core::Language::Japanese : core::Language::English);
        const core::Settings v = load();
        core::setCurrentLanguage(core::Language::English);
        QCOMPARE(m_outcome, jre.isEmpty() ? core::LoadOutcome::Unreadable : core::LoadOutcome::LineForm);
        QCOMPARE(core::keptUnread(m_outcome), jre.isEmpty());
        QCOMPARE(v, jre.isEmpty() ? core::Settings() : settingsWith({{core::kJREpath, jre}}));
    }

    void legacyReaderLeavesUnreachedValues()
    {
        writeFile("a\r\n");
        core::Settings v = settingsWith({{core::kLibpath, QStringLiteral("kept")}});
        bool busyOn = false, busyOff = false;
        core::readLegacySettings(settingsPath(), v, [&](bool on) { (on ? busyOn : busyOff) = true; });
        QCOMPARE(v.value(core::kJREpath), QStringLiteral("a"));
        QCOMPARE(v.value(core::kLibpath), QStringLiteral("kept"));
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
        core::Settings v;
        for (const QString &key : core::Settings::keys())
            v.setValue(key, key + value);
        QVERIFY(core::writeSettingsFile(settingsPath(), v));
        QCOMPARE(load(), v);
    }

    void unwritableCharactersAreDroppedNotTheFile()
    {
        core::Settings v;
        v.setValue(core::kAuthor, QStringLiteral("a") + QChar(1) + QChar(0) + QStringLiteral("b"));
        v.setValue(core::kCompiler, QStringLiteral("jc"));
        QVERIFY(core::writeSettingsFile(settingsPath(), v));
        const core::Settings back = load();
        QCOMPARE(back.value(core::kAuthor), QStringLiteral("ab"));
        QCOMPARE(back.value(core::kCompiler), QStringLiteral("jc"));
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
        const core::Settings v = load();
        const Values want{{core::kJREpath, "jre"},      {core::kLibpath, "lp"},
                          {core::kDtPackages, "dt"},    {core::kJavapath, "jp"},
                          {core::kCP, "cp"},            {core::kCompiler, "jc"},
                          {core::kClassDirectory, "cls"}, {core::kOrganization, "org"},
                          {core::kAuthor, "au"}};
        QCOMPARE(v, settingsWith(want));
    }

    // XML in any encoding a Windows editor saves it in: the byte-order mark
    // decides, else the declaration (decoded by the system where the XML
    // reader knows no such encoding), else UTF-8. Never read as lines.
    void xmlInItsEncoding_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("jre");
        const QString xml = QStringLiteral("<?xml version=\"1.0\"?>\r\n<settings><Editor JREpath=\"C:\\J\u00e4v\u00e4\"/></settings>\r\n");
        const QString java = QStringLiteral("C:\\J\u00e4v\u00e4");
        QTest::newRow("utf-16 le, marked") << utf16(xml, true, true) << java;
        // As an editor saves it as "Unicode", the declaration left as it was.
        QTest::newRow("utf-16 le, marked, declaring utf-8")
            << utf16(QString(xml).replace(QStringLiteral("?>"), QStringLiteral(" encoding=\"UTF-8\"?>")), true, true)
            << java;
        QTest::newRow("utf-16 be, marked") << utf16(xml, false, true) << java;
        QTest::newRow("utf-16 le, unmarked") << utf16(xml, true, false) << java;
        QTest::newRow("utf-16 le, marked, blank line first") << utf16(QStringLiteral("\r\n") + xml.mid(xml.indexOf(u'\n') + 1), true, true)
                                                             << java;
        QTest::newRow("utf-8 mark outweighs the declaration")
            << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1252\"?><s><Editor JREpath=\"C:\\J\xC3\xA4v\xC3\xA4\"/></s>")
            << java;
        QTest::newRow("windows-1252") << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
                                                    "<settings><Editor JREpath=\"C:\\J\xE4v\xE4\"/></settings>")
                                      << java;
        QTest::newRow("Shift_JIS") << QByteArray("<?xml version='1.0' encoding='Shift_JIS' ?><settings>"
                                                 "<Editor JREpath=\"\x83\x65\x83\x58\x83\x67\\\"/></settings>")
                                   << QStringLiteral("\u30c6\u30b9\u30c8\\");
        QTest::newRow("ISO-8859-15") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><s><Editor JREpath=\"\xA4\"/></s>")
                                     << QStringLiteral("\u20ac");
    }
    void xmlInItsEncoding()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, jre);
        writeFile(file);
        QCOMPARE(load(), settingsWith({{core::kJREpath, jre}}));
        QCOMPARE(m_outcome, core::LoadOutcome::Xml);
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
            << Values{{core::kJREpath, "j"}, {core::kLibpath, "l"}, {core::kDtPackages, "d"},
                      {core::kJavapath, "p"}, {core::kOrganization, "o"}, {core::kAuthor, "a"}};
        QTest::newRow("no libpath attribute")
            << QByteArray("<settings><Editor JREpath=\"j\"/><Compiler CP=\"c\" Compiler=\"k\" ClassDirectory=\"x\"/>"
                          "<Properties Organization=\"o\" Author=\"a\"/></settings>")
            << Values{{core::kJREpath, "j"}, {core::kCP, "c"}, {core::kCompiler, "k"},
                      {core::kClassDirectory, "x"}, {core::kOrganization, "o"}, {core::kAuthor, "a"}};
        QTest::newRow("no groups at all") << QByteArray("<settings/>") << Values{};
        QTest::newRow("values as child elements")
            << QByteArray("<settings><Editor><JREpath>j</JREpath></Editor></settings>") << Values{};
    }
    void wellFormedButIncomplete()
    {
        QFETCH(QByteArray, file);
        QFETCH(Values, changed);
        writeFile(file);
        QCOMPARE(load(), settingsWith(changed));
        // A file that gave nothing still holds what the user may want.
        QCOMPARE(m_outcome, changed.isEmpty() ? core::LoadOutcome::XmlWithoutValues : core::LoadOutcome::Xml);
        QCOMPARE(core::keptUnread(m_outcome), changed.isEmpty());
    }

    // A file that begins as XML but is not well-formed (a cut write, a hand
    // edit) gives nothing: neither its XML part nor its lines as the line
    // form, which would make markup into settings.
    void brokenXmlGivesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        core::Settings v;
        v.setValue(core::kJREpath, QStringLiteral("fromxml"));
        const QByteArray whole = core::settingsDocument(v);
        QTest::newRow("cut write") << whole.left(whole.indexOf("</settings>"));
        QByteArray bare = kDefaultFile;
        bare.replace("Author=\"\"", "Author=\"Smith & Sons\"");
        QTest::newRow("bare ampersand") << bare;
        QTest::newRow("byte-order mark and blank line") << QByteArray("\xEF\xBB\xBF\r\n<settings><Editor JREpath=\"j\">");
        QTest::newRow("entity references undeclared") << QByteArray("<settings><Editor JREpath=\"&nope;\"/></settings>");
        QTest::newRow("two roots") << QByteArray("<a/><Editor JREpath=\"j\"/>");
        QTest::newRow("utf-16, cut") << utf16(QStringLiteral("<settings><Editor JREpath=\"j\""), true, true);
        QTest::newRow("encoding nobody knows")
            << QByteArray("<?xml version=\"1.0\" encoding=\"x-nonesuch\"?><settings><Editor JREpath=\"j\"/></settings>");
        QTest::newRow("bytes that are not the declared encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><settings><Editor JREpath=\"\x83\"/></settings>");
    }
    void brokenXmlGivesNothing()
    {
        QFETCH(QByteArray, file);
        writeFile(file);
        QCOMPARE(load(), core::Settings());
        QCOMPARE(m_outcome, core::LoadOutcome::Malformed);
        QVERIFY(core::keptUnread(core::LoadOutcome::Malformed));
    }

    // There, but not to be read: a folder where the file should be.
    void unreadableFileGivesNothing()
    {
        QVERIFY(QDir().mkdir(diskPath()));
        const core::Settings v = load();
        QDir().rmdir(diskPath());
        QCOMPARE(m_outcome, core::LoadOutcome::Unreadable);
        QCOMPARE(v, core::Settings());
    }

    // Files that are neither XML nor written by the program load without
    // harm: Compiler and ClassDirectory, which only XML carries, keep their
    // defaults, and the line form takes what it finds.
    void badFilesDoNotBreakLoading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Values>("changed");
        // No delimiter among the bytes: one value, in 1252 (the system's code
        // page where the Windows tests run; on Linux, where these bytes are no
        // UTF-8, the Windows code page of this English session).
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char(0x80 + i % 16));
        const QString block = QString::fromUtf8("\xE2\x82\xAC\xC2\x81\xE2\x80\x9A\xC6\x92\xE2\x80\x9E\xE2\x80\xA6\xE2\x80\xA0\xE2\x80\xA1"
                                                "\xCB\x86\xE2\x80\xB0\xC5\xA0\xE2\x80\xB9\xC5\x92\xC2\x8D\xC5\xBD\xC2\x8F");
        QTest::newRow("binary") << binary << Values{{core::kJREpath, block.repeated(256)}};
        QTest::newRow("huge single line") << QByteArray(20 * 1024 * 1024, 'x')
                                          << Values{{core::kJREpath, QString(20 * 1024 * 1024, QLatin1Char('x'))}};
        QByteArray hugeXml = "<settings><Editor JREpath=\"";
        hugeXml.append(QByteArray(8 * 1024 * 1024, 'y'));
        hugeXml.append("\"/></settings>");
        QTest::newRow("huge attribute") << hugeXml
                                        << Values{{core::kJREpath, QString(8 * 1024 * 1024, QLatin1Char('y'))}};
    }
    void badFilesDoNotBreakLoading()
    {
        QFETCH(QByteArray, file);
        QFETCH(Values, changed);
        writeFile(file);
        QCOMPARE(load(), settingsWith(changed));
        QCOMPARE(m_outcome, file.startsWith('<') ? core::LoadOutcome::Xml : core::LoadOutcome::LineForm);
    }

    void failedSaveKeepsOldFile()
    {
        // A folder that is a file: nothing can be written below it.
        QFile blocker(m_kit.path() + QStringLiteral("/notadir"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!core::writeSettingsFile(core::Kit(m_kit.path() + QStringLiteral("\\notadir")).settingsFile(),
                                        core::Settings()));

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
        const bool saved = core::writeSettingsFile(core::Kit(locked.path()).settingsFile(), core::Settings());
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
