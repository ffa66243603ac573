#include "workspace/WorkspaceFile.h"

#include <QTest>

using namespace workspace;

class TestWorkspaceFile : public QObject
{
    Q_OBJECT

private slots:
    void exampleLayout();
    void emptyWorkspace();
    void roundTrip_data();
    void roundTrip();
    void bigListReadsWhole();
    void emptyEntriesAreLeftOut();
    void outsideTheCodePageIsLeftOut();
    void handEditedEmptyLineEndsEntries();
    void earlyEnd();
    void lineEnds();
};

void TestWorkspaceFile::exampleLayout()
{
    const QByteArray bytes = serializeWorkspace({"mypkg", "mypkg\\util"}, 1, "MyFB.fbt");
    QCOMPARE(bytes, QByteArray("mypkg\r\nmypkg\\util\r\n\r\n\r\nmypkg\\util\r\nMyFB.fbt\r\n"));
    QCOMPARE(workspaceFilePath("C:\\kit"), QStringLiteral("C:\\kit\\TAVO_Starter.dat"));
}

void TestWorkspaceFile::emptyWorkspace()
{
    QCOMPARE(serializeWorkspace({}, -1, QString()), QByteArray("\r\n\r\n\r\n\r\n"));
    const WorkspaceContent c = parseWorkspace("\r\n\r\n\r\n\r\n");
    QVERIFY(c.entries);
    QVERIFY(c.entries->isEmpty());
    QCOMPARE(c.selectedText, QString());
    QCOMPARE(c.editFileName.value_or("unset"), QString());
}

void TestWorkspaceFile::roundTrip_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("editFile");
    QTest::newRow("plain") << QStringList{"a", "b\\c"} << 0 << "x.fbt";
    QTest::newRow("nothing selected") << QStringList{"a", "b"} << -1 << "";
    QTest::newRow("comma quote blank") << QStringList{"a,b", "\"q\"", "  lead", "tab\there"} << 2
                                       << "My FB,1.fbt";
    QTest::newRow("duplicates") << QStringList{"same", "same"} << 1 << "f.res";
    // Held by UTF-8 and by 1252, the code pages the tests run in.
    QTest::newRow("non-ascii") << QStringList{QStringLiteral("ü"), QStringLiteral("café\\Straße")} << 1 << "Réseau.fbt";
}

void TestWorkspaceFile::roundTrip()
{
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, editFile);
    const WorkspaceContent c = parseWorkspace(serializeWorkspace(entries, selected, editFile));
    QVERIFY(c.entries);
    QCOMPARE(*c.entries, entries);
    QCOMPARE(c.selectedText, selected >= 0 ? entries[selected] : QString());
    QCOMPARE(c.editFileName.value_or("unset"), editFile);
}

void TestWorkspaceFile::bigListReadsWhole()
{
    for (int count : {256, 300}) {
        QStringList entries;
        for (int i = 0; i < count; ++i)
            entries << QStringLiteral("pkg%1").arg(i);
        const WorkspaceContent c = parseWorkspace(serializeWorkspace(entries, count - 1, "a.sys"));
        QVERIFY(c.entries);
        QCOMPARE(c.entries->size(), count);
        QCOMPARE(c.entries->last(), entries.last());
        QCOMPARE(c.selectedText, entries.last());
    }
}

void TestWorkspaceFile::emptyEntriesAreLeftOut()
{
    const QByteArray bytes = serializeWorkspace({"a", "", "b"}, 2, "f.fbt");
    QCOMPARE(bytes, QByteArray("a\r\nb\r\n\r\n\r\nb\r\nf.fbt\r\n"));
    const WorkspaceContent c = parseWorkspace(bytes);
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(c.selectedText, QStringLiteral("b"));

    // An imported entry or a chosen file name with a line break would come
    // back as two lines: its line stays empty.
    const QByteArray broken = serializeWorkspace({"a", "sec\r\nond", "b\nc"}, 1, "f.fbt");
    QCOMPARE(broken, QByteArray("a\r\n\r\n\r\n\r\nf.fbt\r\n"));
    QCOMPARE(serializeWorkspace({"a"}, 0, "new\nline.fbt"), QByteArray("a\r\n\r\n\r\na\r\n\r\n"));
}

// A name the code page has no place for would be written as "?" or a
// look-alike and come back naming another folder: it is left out, as an
// entry and as the selected line, and never changed. (1252 has no omega and
// no katakana; UTF-8 holds everything but a lone surrogate.)
void TestWorkspaceFile::outsideTheCodePageIsLeftOut()
{
#ifdef Q_OS_WIN
    const QString outside = QString::fromUtf8("\xCE\xA9mega");
    const QString alsoOutside = QString::fromUtf8("\xEF\xBE\x97\xEF\xBD\xB2");
#else
    const QString outside = QStringLiteral("bad") + QChar(0xD800);
    const QString alsoOutside = QChar(0xDC00) + QStringLiteral("x");
#endif
    QVERIFY(!storableEntry(outside));
    QVERIFY(storableEntry(QStringLiteral("café")));
    QCOMPARE(serializeWorkspace({"a", outside, alsoOutside, "b"}, 1, alsoOutside + ".fbt"),
             QByteArray("a\r\nb\r\n\r\n\r\n\r\n\r\n"));
}

void TestWorkspaceFile::handEditedEmptyLineEndsEntries()
{
    // a, (empty), b, c, d, e: b is the skipped line, c the selected text,
    // d EditFileName; e is never read.
    const WorkspaceContent c = parseWorkspace("a\r\n\r\nb\r\nc\r\nd\r\ne\r\n\r\n\r\n\r\n");
    QCOMPARE(*c.entries, QStringList{"a"});
    QCOMPARE(c.selectedText, QStringLiteral("c"));
    QCOMPARE(*c.editFileName, QStringLiteral("d"));
}

void TestWorkspaceFile::earlyEnd()
{
    // Ends before the selected-text line: nothing is taken.
    WorkspaceContent c = parseWorkspace("a\r\nb\r\n\r\n\r\n");
    QVERIFY(!c.entries);
    QVERIFY(!c.editFileName);
    c = parseWorkspace("a\r\nb");
    QVERIFY(!c.entries);
    c = parseWorkspace("");
    QVERIFY(!c.entries);
    // Ends after the selected-text line: entries stay, EditFileName is not read.
    c = parseWorkspace("a\r\nb\r\n\r\n\r\nb\r\n");
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(c.selectedText, QStringLiteral("b"));
    QVERIFY(!c.editFileName);
    // A last line without its line end still counts.
    c = parseWorkspace("a\r\n\r\n\r\na\r\nx.fbt");
    QCOMPARE(*c.editFileName, QStringLiteral("x.fbt"));
}

void TestWorkspaceFile::lineEnds()
{
    // Hand-edited files may use bare LF or CR; no entry may hold a line break.
    WorkspaceContent c = parseWorkspace("a\nb\n\n\nb\nf.fbt\n");
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(*c.editFileName, QStringLiteral("f.fbt"));
    c = parseWorkspace("a\rb\r\r\ra\rf\r");
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(c.selectedText, QStringLiteral("a"));
    // Binary lines come back whole: only CR and LF end a line, not NUL,
    // form feed, NEL or the Unicode line separators that a text reader
    // might take for line ends.
    // NEL and the line separator are UTF-8 here; 1252 reads their bytes as
    // "Â…" and "â€¨".
#ifdef Q_OS_WIN
    const QString special = QStringLiteral("x\x0b\x0c") + QChar(0) + QString::fromUtf8("\xC3\x82\xE2\x80\xA6\xC3\xA2\xE2\x82\xAC\xC2\xA8y");
#else
    const QString special = QStringLiteral("x\x0b\x0c") + QChar(0) + QChar(0x85) + QChar(0x2028) + QStringLiteral("y");
#endif
    QByteArray bytes;
    QStringList expected;
    quint32 seed = 7919;
    const QByteArray ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 200; ++i) {
        QByteArray printable;
        for (int j = 0; j < 20; ++j) {
            seed = seed * 1103515245u + 12345u;
            printable += char(0x20 + (seed >> 24) % 95);
        }
        if (i % 2) {
            bytes += QByteArray("x\x0b\x0c\x00\xc2\x85\xe2\x80\xa8y", 10) + printable;
            expected << special + QString::fromLatin1(printable);
        } else {
            bytes += printable;
            expected << QString::fromLatin1(printable);
        }
        bytes += ends[i % 3];
    }
    c = parseWorkspace(bytes + "\r\n\r\nz\r\n");
    QVERIFY(c.entries);
    QCOMPARE(*c.entries, expected);
}

QTEST_MAIN(TestWorkspaceFile)
#include "tst_workspacefile.moc"
