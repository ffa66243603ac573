#include "core/WorkspaceFile.h"

#include "support/CoreValues.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

Q_DECLARE_METATYPE(core::Workspace)
Q_DECLARE_METATYPE(core::ListKeyAction)

class TestWorkspace : public QObject
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
    void bytesThatAreNoTextAreKept_data();
    void bytesThatAreNoTextAreKept();
    void handEditedEmptyLineEndsEntries();
    void earlyEnd();
    void lineEnds();
    void readOverAStart_data();
    void readOverAStart();
    void moves_data();
    void moves();
    void keyTable_data();
    void keyTable();
};

void TestWorkspace::exampleLayout()
{
    const QByteArray bytes = serializeWorkspace({{"mypkg", "mypkg\\util"}, 1, "MyFB.fbt"});
    QCOMPARE(bytes, QByteArray("mypkg\r\nmypkg\\util\r\n\r\n\r\nmypkg\\util\r\nMyFB.fbt\r\n"));
    QCOMPARE(Kit("C:\\kit").workspaceFile(), QStringLiteral("C:\\kit\\TAVO_Starter.dat"));
}

void TestWorkspace::emptyWorkspace()
{
    QCOMPARE(serializeWorkspace({}), QByteArray("\r\n\r\n\r\n\r\n"));
    const WorkspaceContent c = parseWorkspace("\r\n\r\n\r\n\r\n");
    QVERIFY(c.entries);
    QVERIFY(c.entries->isEmpty());
    QCOMPARE(c.selectedText, QString());
    QCOMPARE(c.EditFileName.value_or("unset"), QString());
}

void TestWorkspace::roundTrip_data()
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

void TestWorkspace::roundTrip()
{
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QString, editFile);
    const WorkspaceContent c = parseWorkspace(serializeWorkspace({entries, selected, editFile}));
    QVERIFY(c.entries);
    QCOMPARE(*c.entries, entries);
    QCOMPARE(c.selectedText, selected >= 0 ? entries[selected] : QString());
    QCOMPARE(c.EditFileName.value_or("unset"), editFile);
}

void TestWorkspace::bigListReadsWhole()
{
    for (int count : {256, 300}) {
        QStringList entries;
        for (int i = 0; i < count; ++i)
            entries << QStringLiteral("pkg%1").arg(i);
        const WorkspaceContent c = parseWorkspace(serializeWorkspace({entries, count - 1, "a.sys"}));
        QVERIFY(c.entries);
        QCOMPARE(c.entries->size(), count);
        QCOMPARE(c.entries->last(), entries.last());
        QCOMPARE(c.selectedText, entries.last());
    }
}

void TestWorkspace::emptyEntriesAreLeftOut()
{
    const QByteArray bytes = serializeWorkspace({{"a", "", "b"}, 2, "f.fbt"});
    QCOMPARE(bytes, QByteArray("a\r\nb\r\n\r\n\r\nb\r\nf.fbt\r\n"));
    const WorkspaceContent c = parseWorkspace(bytes);
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(c.selectedText, QStringLiteral("b"));

    // An imported entry or a chosen file name with a line break would come
    // back as two lines: its line stays empty.
    const QByteArray broken = serializeWorkspace({{"a", "sec\r\nond", "b\nc"}, 1, "f.fbt"});
    QCOMPARE(broken, QByteArray("a\r\n\r\n\r\n\r\nf.fbt\r\n"));
    QCOMPARE(serializeWorkspace({{"a"}, 0, "new\nline.fbt"}), QByteArray("a\r\n\r\n\r\na\r\n\r\n"));
}

// A name the code page has no place for would be written as "?" or a
// look-alike and come back naming another folder: it is left out, as an
// entry and as the selected line, and never changed. (1252 has no omega and
// no katakana; UTF-8 holds everything but a lone surrogate.)
void TestWorkspace::outsideTheCodePageIsLeftOut()
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
    QCOMPARE(serializeWorkspace({{"a", outside, alsoOutside, "b"}, 1, alsoOutside + ".fbt"}),
             QByteArray("a\r\nb\r\n\r\n\r\n\r\n\r\n"));

    // Nor can the file hold a leading U+FEFF: on its first line it would be
    // read back as the file's byte-order mark and dropped. Left out wherever
    // it stands, as the list may move it to the top.
    const QString marked = QChar(0xFEFF) + QStringLiteral("pkg");
    QCOMPARE(serializeWorkspace({{marked, "b", marked}, 2, "x.fbt"}), QByteArray("b\r\n\r\n\r\n\r\nx.fbt\r\n"));
}

// Lines whose bytes are no text in the file's code page (Latin-1 or Shift
// JIS folder names in a UTF-8 file, a character cut short) come back byte
// for byte, each still its own entry, the selection found among them.
void TestWorkspace::bytesThatAreNoTextAreKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("selected");
    QTest::newRow("latin-1 names") << QByteArray("caf\xe9\r\ncaf\xe8\r\n\r\n\r\ncaf\xe8\r\nf\xe9.fbt\r\n") << 1;
    QTest::newRow("shift jis beside utf-8") << QByteArray("\x83\x65\xe3\x83\x86\r\n\xe3\x83\x86\r\n\r\n\r\n\x83\x65\xe3\x83\x86\r\n\r\n") << 0;
    QTest::newRow("a character cut short") << QByteArray("a\xe3\x83\r\na\xe3\r\n\r\n\r\na\xe3\r\nx\r\n") << 1;
    QTest::newRow("an encoded surrogate") << QByteArray("\xed\xa0\x80\r\n\xed\xb0\x80\r\n\r\n\r\n\xed\xb0\x80\r\n\r\n") << 1;
}

void TestWorkspace::bytesThatAreNoTextAreKept()
{
    QFETCH(QByteArray, file);
    QFETCH(int, selected);
    const WorkspaceContent c = parseWorkspace(file);
    QVERIFY(c.entries);
    QCOMPARE(c.entries->size(), 2);
    QVERIFY(c.entries->at(0) != c.entries->at(1));
    QCOMPARE(indexOfEntry(*c.entries, c.selectedText), selected);
    QCOMPARE(serializeWorkspace({*c.entries, selected, c.EditFileName.value_or(QString())}), file);
    // Moved, each is still itself.
    const QList<QByteArray> lines = file.split('\n');
    QVERIFY(serializeWorkspace(moveDown({*c.entries, 0, QString()})).startsWith(lines[1] + '\n' + lines[0] + '\n'));
}

void TestWorkspace::handEditedEmptyLineEndsEntries()
{
    // a, (empty), b, c, d, e: b is the skipped line, c the selected text,
    // d EditFileName; e is never read.
    const WorkspaceContent c = parseWorkspace("a\r\n\r\nb\r\nc\r\nd\r\ne\r\n\r\n\r\n\r\n");
    QCOMPARE(*c.entries, QStringList{"a"});
    QCOMPARE(c.selectedText, QStringLiteral("c"));
    QCOMPARE(*c.EditFileName, QStringLiteral("d"));
}

void TestWorkspace::earlyEnd()
{
    // Ends before the selected-text line: nothing is taken.
    WorkspaceContent c = parseWorkspace("a\r\nb\r\n\r\n\r\n");
    QVERIFY(!c.entries);
    QVERIFY(!c.EditFileName);
    c = parseWorkspace("a\r\nb");
    QVERIFY(!c.entries);
    c = parseWorkspace("");
    QVERIFY(!c.entries);
    // Ends after the selected-text line: entries stay, EditFileName is not read.
    c = parseWorkspace("a\r\nb\r\n\r\n\r\nb\r\n");
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(c.selectedText, QStringLiteral("b"));
    QVERIFY(!c.EditFileName);
    // A last line without its line end still counts.
    c = parseWorkspace("a\r\n\r\n\r\na\r\nx.fbt");
    QCOMPARE(*c.EditFileName, QStringLiteral("x.fbt"));
}

void TestWorkspace::lineEnds()
{
    // Hand-edited files may use bare LF or CR; no entry may hold a line break.
    WorkspaceContent c = parseWorkspace("a\nb\n\n\nb\nf.fbt\n");
    QCOMPARE(*c.entries, (QStringList{"a", "b"}));
    QCOMPARE(*c.EditFileName, QStringLiteral("f.fbt"));
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

// The file read as the window loads it: over what the list holds already,
// and whether a file that is there gave nothing (then it is kept at exit).
void TestWorkspace::readOverAStart_data()
{
    QTest::addColumn<QByteArray>("file");  // "<none>": no file; "<folder>": a folder in its place
    QTest::addColumn<Workspace>("start");
    QTest::addColumn<Workspace>("read");
    QTest::addColumn<bool>("fileUnread");
    const Workspace empty;
    const Workspace held{{"held"}, 0, "Kept.fbt"};
    QTest::newRow("no file") << QByteArray("<none>") << held << held << false;
    QTest::newRow("a folder in its place") << QByteArray("<folder>") << held << held << true;
    QTest::newRow("cut before the separator") << QByteArray("a\r\nb\r\n") << held << held << true;
    QTest::newRow("entries appended, selection found among them")
        << QByteArray("a\r\nheld\r\n\r\n\r\nheld\r\nNew.fbt\r\n") << held
        << Workspace{{"held", "a", "held"}, 0, "New.fbt"} << false;
    QTest::newRow("selected text that is no entry keeps the selection")
        << QByteArray("a\r\n\r\n\r\nzz\r\n") << held << Workspace{{"held", "a"}, 0, "Kept.fbt"} << false;
    QTest::newRow("an empty workspace is a file that was read")
        << QByteArray("\r\n\r\n\r\n\r\n") << empty << empty << false;
}

void TestWorkspace::readOverAStart()
{
    QFETCH(QByteArray, file);
    QFETCH(Workspace, start);
    QFETCH(Workspace, read);
    QFETCH(bool, fileUnread);
    QTemporaryDir dir(scratchDirTemplate());
    const Kit kit(dir.path());
    if (file == "<folder>") {
        QVERIFY(QDir(dir.path()).mkdir("TAVO_Starter.dat"));
    } else if (file != "<none>") {
        QFile f(dir.filePath("TAVO_Starter.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    const WorkspaceRead got = readWorkspaceFile(kit, start);
    QCOMPARE(got.workspace, read);
    QCOMPARE(got.fileUnread, fileUnread);
}

void TestWorkspace::moves_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("selected");  // in a, b, c before the move
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("up") << "up" << 1 << QStringList{"b", "a", "c"} << 0;
    QTest::newRow("up at the top") << "up" << 0 << abc << 0;
    QTest::newRow("up, nothing selected") << "up" << -1 << abc << -1;
    QTest::newRow("down") << "down" << 1 << QStringList{"a", "c", "b"} << 2;
    QTest::newRow("down at the bottom") << "down" << 2 << abc << 2;
    QTest::newRow("down, nothing selected") << "down" << -1 << abc << -1;
    QTest::newRow("delete") << "delete" << 1 << QStringList{"a", "c"} << -1;
    QTest::newRow("delete, nothing selected") << "delete" << -1 << abc << -1;
}

void TestWorkspace::moves()
{
    QFETCH(QString, move);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    const Workspace before{{"a", "b", "c"}, selected, "F.fbt"};
    const Workspace got = move == "up" ? moveUp(before) : move == "down" ? moveDown(before) : deleteSelected(before);
    QCOMPARE(got, (Workspace{after, selectedAfter, "F.fbt"}));
}

// Decided by the modifier sum as a whole: Shift 1, Ctrl 2, Alt 4.
void TestWorkspace::keyTable_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("shift");
    QTest::addColumn<ListKeyAction>("action");
    QTest::newRow("Ctrl+A") << 65 << 2 << ListKeyAction::SelectAll;
    QTest::newRow("Ctrl+Shift+A") << 65 << 3 << ListKeyAction::None;
    QTest::newRow("A") << 65 << 0 << ListKeyAction::None;
    QTest::newRow("Ctrl+Delete") << 46 << 2 << ListKeyAction::None;
    QTest::newRow("Alt+Up") << 38 << 4 << ListKeyAction::MoveUp;
    QTest::newRow("Alt+Down") << 40 << 4 << ListKeyAction::MoveDown;
    QTest::newRow("Alt+Delete") << 46 << 4 << ListKeyAction::None;
    QTest::newRow("Up") << 38 << 0 << ListKeyAction::None;
    QTest::newRow("Ctrl+Alt+Up") << 38 << 6 << ListKeyAction::None;
    QTest::newRow("Delete") << 46 << 0 << ListKeyAction::Delete;
    QTest::newRow("Shift+Delete") << 46 << 1 << ListKeyAction::Delete;
    QTest::newRow("Ctrl+Shift+Delete") << 46 << 3 << ListKeyAction::Delete;
    QTest::newRow("Ctrl+Alt+Delete") << 46 << 6 << ListKeyAction::Delete;
}

void TestWorkspace::keyTable()
{
    QFETCH(int, key);
    QFETCH(int, shift);
    QFETCH(ListKeyAction, action);
    QCOMPARE(listKeyAction(key, shift), action);
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
