// "Select libraries" as values: the ticks the dialog opens with, and what OK
// makes of the workspace from the ticks.
#include "core/LibraryTicks.h"
#include "core/WorkspaceFile.h"

#include "support/CoreValues.h"

#include <QTest>

using namespace core;

namespace {

// The check list of a scan, nothing ticked; a leading "!" marks a line
// whose name no entry can hold as it is.
QList<TickedFolder> lines(const QStringList &scanned)
{
    QList<TickedFolder> list;
    for (const QString &entry : scanned) {
        const bool holdable = !entry.startsWith(QLatin1Char('!'));
        list.append({holdable ? entry : entry.mid(1), false, holdable});
    }
    return list;
}

} // namespace

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
    const QList<TickedFolder> ticks = MarkTargetEntries(lines(scanned), {"net", "fb\\rt", "Fb", "gone", "net", "my lib 1.2"});
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
    QTest::addColumn<QStringList>("links");       // links the scan did not follow
    QTest::addColumn<QStringList>("notHeldAsIs");
    const QStringList none;
    const QStringList tree{"p", "p\\q", "r", "s", "s\\t", "u"};

    QTest::newRow("unchanged keeps order and selection")
        << tree << QStringList{"u", "p\\q", "r"} << 1 << none << none << none
        << QStringList{"u", "p\\q", "r"} << 1 << none << none << none;
    QTest::newRow("empty workspace, nothing ticked") << tree << none << -1 << none << none << none << none << -1 << none << none << none;
    QTest::newRow("entries of no folder go: missing, other case, dots, trailing backslash")
        << tree << QStringList{"r", "gone", "R", "s.t", "s\\", "u"} << 5 << none << none << none
        << QStringList{"r", "u"} << 1 << none << none << none;
    QTest::newRow("new ticks follow in scan order, whatever order they were ticked in")
        << tree << QStringList{"u", "zzz"} << 0 << QStringList{"s\\t", "r", "p\\q"} << none << none
        << QStringList{"u", "p\\q", "r", "s\\t"} << 0 << none << none << none;
    QTest::newRow("unticking the selected entry selects none")
        << tree << QStringList{"p", "r", "u"} << 1 << none << QStringList{"r"} << none
        << QStringList{"p", "u"} << -1 << none << none << none;
    QTest::newRow("unticking another keeps the selection, at its new place")
        << tree << QStringList{"p", "r", "u"} << 2 << none << QStringList{"p"} << none
        << QStringList{"r", "u"} << 1 << none << none << none;
    QTest::newRow("duplicates stay together")
        << tree << QStringList{"r", "u", "r"} << 2 << none << none << none << QStringList{"r", "u", "r"} << 0 << none << none << none;
    QTest::newRow("duplicates go together")
        << tree << QStringList{"r", "u", "r"} << 1 << none << QStringList{"r"} << none << QStringList{"u"} << 0 << none << none << none;
    QTest::newRow("select all: the held keep their order, the rest follow in scan order")
        << tree << QStringList{"u", "r"} << 0 << tree << none << none
        << QStringList{"u", "r", "p", "p\\q", "s", "s\\t"} << 0 << none << none << none;
    QTest::newRow("clear empties the workspace") << tree << QStringList{"u", "r"} << 0 << none << tree << none
                                                 << none << -1 << none << none << none;
    QTest::newRow("an empty tree empties the workspace")
        << none << QStringList{"a", "b"} << 0 << none << none << none << none << -1 << none << none << none;
    // What lies below a folder the scan could not list was never shown: it
    // stays; the folder's own entry and a sibling that merely starts alike
    // are judged as any other.
    QTest::newRow("below an unlistable folder stays")
        << QStringList{"a", "pkg", "pkg\\deep"} << QStringList{"pkg\\deep\\util", "pkg\\deep", "pkg\\deepx", "gone", "a"}
        << 0 << none << QStringList{"pkg\\deep"} << QStringList{"pkg\\deep"}
        << QStringList{"pkg\\deep\\util", "a"} << 0 << none << none << none;
    // A name the workspace file cannot hold would come back as another.
    const QString lossy = QStringLiteral("half") + QChar(0xD800);
    QTest::newRow("a name the workspace file cannot hold is not added")
        << QStringList{"plain", lossy, "r"} << QStringList{"plain"} << 0 << QStringList{lossy, "r"} << none << none
        << QStringList{"plain", "r"} << 0 << QStringList{lossy} << none << none;
    // A link the scan did not follow was never shown: the entries at it and
    // below it stay, with the selection, and are never added.
    QTest::newRow("at or below a link not followed stays")
        << QStringList{"fb"} << QStringList{"fb\\loop", "fb\\loop\\test", "fb", "fb\\loopy"} << 0 << none << none << none
        << QStringList{"fb\\loop", "fb\\loop\\test", "fb"} << 0 << none << QStringList{"fb\\loop"} << none;
    // "!" marks a line whose name no entry can hold as it is: it matches no
    // entry of the same text and is never added.
    const QString lookalike = QStringLiteral("caf") + QChar(0xFFFD);
    QTest::newRow("a folder no entry can hold is not added, nor matched")
        << QStringList{"!" + lookalike, "!a\\b", "x"} << QStringList{lookalike, "x"} << 1 << QStringList{"!" + lookalike, "!a\\b"}
        << none << none << QStringList{"x"} << 0 << none << none << QStringList{lookalike, "a\\b"};
#ifndef Q_OS_WIN
    // An entry of bytes that are no UTF-8, as the workspace file gave it:
    // no line of the dialog carries it, so it was never shown and stays.
    const QString kept = parseWorkspace("caf\xe9\r\n\r\n\r\n\r\n\r\n").entries->value(0);
    QTest::newRow("an entry kept as bytes that are no text stays")
        << QStringList{"!" + lookalike, "x"} << QStringList{kept, "x"} << 0 << none << QStringList{"x"} << none
        << QStringList{kept} << 0 << none << none << none;
#endif
    QTest::newRow("a leading U+FEFF is not added")
        << QStringList{QChar(0xFEFF) + QStringLiteral("x"), "y"} << none << -1 << QStringList{QChar(0xFEFF) + QStringLiteral("x"), "y"}
        << none << none << QStringList{"y"} << -1 << none << none << QStringList{QChar(0xFEFF) + QStringLiteral("x")};
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
    QFETCH(QStringList, links);
    QFETCH(QStringList, notHeldAsIs);
    QList<TickedFolder> ticks = MarkTargetEntries(lines(scanned), entries);
    for (TickedFolder &t : ticks) {
        const QString line = t.holdable ? t.entry : QLatin1Char('!') + t.entry;
        if (tick.contains(line))
            t.ticked = true;
        if (untick.contains(line))
            t.ticked = false;
    }
    const Workspace target{entries, selected, "MyFB.fbt"};
    const TicksApplied applied = applyTicks(target, ticks, {unlisted, links});
    QCOMPARE(applied.workspace, (Workspace{after, selectedAfter, "MyFB.fbt"}));
    QCOMPARE(applied.notAdded, notAdded);
    QCOMPARE(applied.notHeldAsIs, notHeldAsIs);
}

QTEST_GUILESS_MAIN(TestLibraryTicks)
#include "tst_library_ticks.moc"
