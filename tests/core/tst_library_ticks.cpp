// "Select libraries" as values: the ticks the dialog opens with, and what OK
// makes of the workspace from the ticks.
#include "core/LibraryTicks.h"

#include "support/CoreValues.h"

#include <QTest>

using namespace core;

class TestLibraryTicks : public QObject
{
    Q_OBJECT

private slots:
    void openingTicks();
    void ok_data();
    void ok();
};

// Each folder the workspace holds is ticked, by exact text, case included;
// an entry that names no folder ticks nothing.
void TestLibraryTicks::openingTicks()
{
    const QStringList scanned{"fb", "fb\\rt", "FB", "net", "my lib 1.2"};
    const QList<TickedFolder> ticks = MarkTargetEntries(scanned, {"net", "fb\\rt", "Fb", "gone", "net", "my lib 1.2"});
    QStringList ticked;
    for (const TickedFolder &t : ticks) {
        if (t.ticked)
            ticked << t.entry;
    }
    QCOMPARE(ticked, (QStringList{"fb\\rt", "net", "my lib 1.2"}));
    QCOMPARE(ticks.size(), scanned.size());
    QCOMPARE(ticks[3].entry, QStringLiteral("net"));
}

void TestLibraryTicks::ok_data()
{
    QTest::addColumn<QStringList>("scanned");     // the folders, in scan order
    QTest::addColumn<QStringList>("entries");     // the workspace before
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("tick");        // changed after opening
    QTest::addColumn<QStringList>("untick");
    QTest::addColumn<QStringList>("unlisted");    // folders the scan could not list
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QStringList>("notAdded");
    const QStringList none;
    const QStringList tree{"p", "p\\q", "r", "s", "s\\t", "u"};

    QTest::newRow("unchanged keeps order and selection")
        << tree << QStringList{"u", "p\\q", "r"} << 1 << none << none << none
        << QStringList{"u", "p\\q", "r"} << 1 << none;
    QTest::newRow("empty workspace, nothing ticked") << tree << none << -1 << none << none << none << none << -1 << none;
    QTest::newRow("entries of no folder go: missing, other case, dots, trailing backslash")
        << tree << QStringList{"r", "gone", "R", "s.t", "s\\", "u"} << 5 << none << none << none
        << QStringList{"r", "u"} << 1 << none;
    QTest::newRow("new ticks follow in scan order, whatever order they were ticked in")
        << tree << QStringList{"u", "zzz"} << 0 << QStringList{"s\\t", "r", "p\\q"} << none << none
        << QStringList{"u", "p\\q", "r", "s\\t"} << 0 << none;
    QTest::newRow("unticking the selected entry selects none")
        << tree << QStringList{"p", "r", "u"} << 1 << none << QStringList{"r"} << none
        << QStringList{"p", "u"} << -1 << none;
    QTest::newRow("unticking another keeps the selection, at its new place")
        << tree << QStringList{"p", "r", "u"} << 2 << none << QStringList{"p"} << none
        << QStringList{"r", "u"} << 1 << none;
    QTest::newRow("duplicates stay together")
        << tree << QStringList{"r", "u", "r"} << 2 << none << none << none << QStringList{"r", "u", "r"} << 0 << none;
    QTest::newRow("duplicates go together")
        << tree << QStringList{"r", "u", "r"} << 1 << none << QStringList{"r"} << none << QStringList{"u"} << 0 << none;
    QTest::newRow("select all: the held keep their order, the rest follow in scan order")
        << tree << QStringList{"u", "r"} << 0 << tree << none << none
        << QStringList{"u", "r", "p", "p\\q", "s", "s\\t"} << 0 << none;
    QTest::newRow("clear empties the workspace") << tree << QStringList{"u", "r"} << 0 << none << tree << none
                                                 << none << -1 << none;
    QTest::newRow("an empty tree empties the workspace")
        << none << QStringList{"a", "b"} << 0 << none << none << none << none << -1 << none;
    // What lies below a folder the scan could not list was never shown: it
    // stays; the folder's own entry and a sibling that merely starts alike
    // are judged as any other.
    QTest::newRow("below an unlistable folder stays")
        << QStringList{"a", "pkg", "pkg\\deep"} << QStringList{"pkg\\deep\\util", "pkg\\deep", "pkg\\deepx", "gone", "a"}
        << 0 << none << QStringList{"pkg\\deep"} << QStringList{"pkg\\deep"}
        << QStringList{"pkg\\deep\\util", "a"} << 0 << none;
    // A name the workspace file cannot hold would come back as another.
    const QString lossy = QStringLiteral("half") + QChar(0xD800);
    QTest::newRow("a name the workspace file cannot hold is not added")
        << QStringList{"plain", lossy, "r"} << QStringList{"plain"} << 0 << QStringList{lossy, "r"} << none << none
        << QStringList{"plain", "r"} << 0 << QStringList{lossy};
}

void TestLibraryTicks::ok()
{
    QFETCH(QStringList, scanned);
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QStringList, tick);
    QFETCH(QStringList, untick);
    QFETCH(QStringList, unlisted);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    QFETCH(QStringList, notAdded);
    QList<TickedFolder> ticks = MarkTargetEntries(scanned, entries);
    for (TickedFolder &t : ticks) {
        if (tick.contains(t.entry))
            t.ticked = true;
        if (untick.contains(t.entry))
            t.ticked = false;
    }
    const Workspace target{entries, selected, "MyFB.fbt"};
    const TicksApplied applied = applyTicks(target, ticks, unlisted);
    QCOMPARE(applied.workspace, (Workspace{after, selectedAfter, "MyFB.fbt"}));
    QCOMPARE(applied.notAdded, notAdded);
}

QTEST_GUILESS_MAIN(TestLibraryTicks)
#include "tst_library_ticks.moc"
