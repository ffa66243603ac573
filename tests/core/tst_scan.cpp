// The source-tree scan on real directory trees built per test.
#include "core/Kit.h"
#include "core/SourceScan.h"

#include "support/TestFiles.h"
#include "support/TestKit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

using core::ScanSourceTree;
using core::StringListSink;

namespace {

// The source root below a test's kit, as the program names it.
QString srcRoot(const TestKit &kit)
{
    return core::Kit(kit.path()).SrcDir();
}

// A plain file below the source root.
void touch(const TestKit &kit, const QString &entry)
{
    QFile f(kit.sourceFolder(entry));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

QStringList scan(const TestKit &kit, core::ScanResult *result = nullptr)
{
    QStringList out;
    StringListSink sink(out);
    const core::ScanResult r = ScanSourceTree(srcRoot(kit), sink);
    if (result)
        *result = r;
    return out;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

// A link to a directory (the target as given, relative to the link's
// folder or absolute); false when the system made none.
bool linkDirectory(const QString &target, const QString &link)
{
#ifdef Q_OS_WIN
    const std::wstring from = QDir::toNativeSeparators(link).toStdWString();
    CreateSymbolicLinkW(from.c_str(), QDir::toNativeSeparators(target).toStdWString().c_str(),
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    // Some systems report success and make nothing.
    return GetFileAttributesW(from.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT
        && GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    return QFile::link(target, link);
#endif
}

#define LINK_OR_SKIP(target, link)                                                                 \
    if (!linkDirectory(target, link))                                                              \
        QSKIP("this system makes no links to directories here");

#ifdef Q_OS_WIN
bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
#endif

// Runs work on a thread of its own with a stack of that size; false when
// the thread could not be run.
bool runWithStack(unsigned size, std::function<void()> work)
{
#ifdef Q_OS_WIN
    // A size given to QThread only commits; the reserve, the real limit,
    // would stay the program's 2 MiB.
    const HANDLE thread = CreateThread(
        nullptr, size, [](void *w) -> DWORD { (*static_cast<std::function<void()> *>(w))(); return 0; }, &work,
        STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        return false;
    const bool ended = WaitForSingleObject(thread, 120000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
#else
    std::unique_ptr<QThread> thread(QThread::create(std::move(work)));
    thread->setStackSize(size);
    thread->start();
    return thread->wait(120000);
#endif
}

#ifdef Q_OS_WIN
// The names of one directory in the order the file system lists them.
QStringList listingOrder(const QString &nativeDir)
{
    QStringList names;
    QDirIterator it(nativeDir, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    return names;
}
#endif

} // namespace

class tst_Scan : public QObject
{
    Q_OBJECT
private slots:
    void treesWithoutDirectories_data();
    void treesWithoutDirectories();
    void namesPassedOverOrKept();
    void deepEmptyDirectoryFollowsItsParent();
    void hiddenDirectoriesAndAllBelowAreSkipped();
    void siblingsEachFollowedByTheirSubtree();
#ifndef Q_OS_WIN
    void siblingsInWindowsNameOrder();
#endif
    void scansOnlyAppend();
    void currentDirectoryLeftAtRoot();
    void unreadableRoot_data();
    void unreadableRoot();
    void linksUpTheTreeAreNotFollowed();
    void linkElsewhereIsFollowed();
    void noLimitOnSubdirectories();
    void yieldsPacedByTheClock();
    void deeperThanTheStackAllows();
};

void tst_Scan::treesWithoutDirectories_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("empty root") << QStringList();
    QTest::newRow("files only") << QStringList{"readme.txt", "pagefile.sys", "Main.fbt", "no extension"};
}

void tst_Scan::treesWithoutDirectories()
{
    QFETCH(QStringList, files);
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({}));
    for (const QString &f : files)
        touch(kit, f);
    core::ScanResult result;
    QCOMPARE(scan(kit, &result), QStringList());
    QVERIFY(result.rootListed);
}

void tst_Scan::namesPassedOverOrKept()
{
    TestKit kit;
#ifdef Q_OS_WIN
    const QString dotted = "a.b.c"; // Windows drops a name's trailing dot
#else
    const QString dotted = "a.b.";
#endif
    // The two spellings in folders of their own, for file systems that
    // ignore case.
    QVERIFY(kit.makeSourceFolders({"sub\\pagefile.sys\\inner", "PageFile.sys\\inner", "my lib 1.2\\v.0", "FB\\Rt", dotted, "x"}));
    touch(kit, "x\\file.java");
    const QStringList out = scan(kit);
    // Exact-text pass-over: only the lower-case name is left out, with
    // everything below it. Blanks, dots and case come through unchanged.
    QCOMPARE(sorted(out), sorted(QStringList{"sub", "PageFile.sys", "PageFile.sys\\inner", "my lib 1.2",
                                             "my lib 1.2\\v.0", "FB", "FB\\Rt", dotted, "x"}));
    for (const QString &e : out) {
        QVERIFY2(!e.startsWith(QLatin1Char('\\')) && !e.endsWith(QLatin1Char('\\')), qPrintable(e));
        QVERIFY2(!e.split(QLatin1Char('\\')).contains(QStringLiteral(".")), qPrintable(e));
        QVERIFY2(!e.split(QLatin1Char('\\')).contains(QStringLiteral("..")), qPrintable(e));
    }
}

void tst_Scan::deepEmptyDirectoryFollowsItsParent()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\b\\c"}));
    touch(kit, "a\\b\\B.java");
    QCOMPARE(scan(kit), (QStringList{"a", "a\\b", "a\\b\\c"}));
}

void tst_Scan::hiddenDirectoriesAndAllBelowAreSkipped()
{
    TestKit kit;
#ifdef Q_OS_WIN
    // Hidden and system are attributes here.
    QVERIFY(kit.makeSourceFolders({"svn\\sub", "pkg\\git\\objects", "pkg\\util"}));
    for (const auto &[entry, attribute] : {std::pair{"svn", FILE_ATTRIBUTE_HIDDEN},
                                           std::pair{"pkg\\git", FILE_ATTRIBUTE_SYSTEM}}) {
        const std::wstring path = QDir::toNativeSeparators(kit.sourceFolder(entry)).toStdWString();
        QVERIFY(SetFileAttributesW(path.c_str(), attribute));
        if (!(GetFileAttributesW(path.c_str()) & attribute))
            QSKIP("this file system keeps no hidden or system attribute");
    }
#else
    QVERIFY(kit.makeSourceFolders({".svn\\sub", "pkg\\.git\\objects", "pkg\\util"}));
#endif
    QCOMPARE(scan(kit), (QStringList{"pkg", "pkg\\util"}));
}

void tst_Scan::siblingsEachFollowedByTheirSubtree()
{
    TestKit kit;
    const QStringList tree{"fb\\rt\\hmi", "fb\\rt\\math", "fb\\net", "test\\unit", "zz", "lib\\a\\b",
                           "lib\\c"};
    QVERIFY(kit.makeSourceFolders(tree));
    touch(kit, "readme.txt");
    const QStringList out = scan(kit);

    QCOMPARE(sorted(out), sorted(QStringList{"fb", "fb\\rt", "fb\\rt\\hmi", "fb\\rt\\math", "fb\\net",
                                             "test", "test\\unit", "zz", "lib", "lib\\a", "lib\\a\\b",
                                             "lib\\c"}));
    for (int i = 0; i < out.size(); ++i) {
        // Everything below an entry comes straight after it, in one block.
        const QString below = out[i] + QLatin1Char('\\');
        int j = i + 1;
        while (j < out.size() && out[j].startsWith(below))
            ++j;
        for (int k = j; k < out.size(); ++k)
            QVERIFY2(!out[k].startsWith(below), qPrintable(out[k] + " after " + out[i]));
    }
#ifdef Q_OS_WIN
    // Siblings keep the order of the directory listing.
    for (const QString &parent : {QString(), QStringLiteral("fb"), QStringLiteral("fb\\rt"),
                                  QStringLiteral("lib")}) {
        QStringList children;
        for (const QString &e : out) {
            const int cut = e.lastIndexOf(QLatin1Char('\\'));
            if ((cut < 0 ? QString() : e.left(cut)) == parent)
                children << e.mid(cut + 1);
        }
        QCOMPARE(children, listingOrder(kit.sourceFolder(parent)));
    }
#else
    // Siblings in name order, as Windows lists them.
    QCOMPARE(out, QStringList({"fb", "fb\\net", "fb\\rt", "fb\\rt\\hmi", "fb\\rt\\math", "lib", "lib\\a",
                               "lib\\a\\b", "lib\\c", "test", "test\\unit", "zz"}));
#endif
}

#ifndef Q_OS_WIN
// Siblings come in the order Windows lists them, whatever order the disk
// keeps: their letters made upper case ("_" after "Z"), then their bytes.
void tst_Scan::siblingsInWindowsNameOrder()
{
    TestKit kit;
    const QStringList names{"zeta", "_under", "b", "Alpha", "B", "a1", "A1", "caf\u00e9", "Cafe"};
    QVERIFY(kit.makeSourceFolders(names));
    QCOMPARE(scan(kit), QStringList({"A1", "a1", "Alpha", "B", "b", "Cafe", "caf\u00e9", "zeta", "_under"}));
}
#endif

void tst_Scan::scansOnlyAppend()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\b", "c"}));
    QStringList out{"kept"};
    StringListSink sink(out);
    ScanSourceTree(srcRoot(kit), sink);
    const QStringList once = out.mid(1);
    ScanSourceTree(srcRoot(kit), sink);
    QCOMPARE(once.size(), 3);
    QCOMPARE(out, QStringList{"kept"} + once + once);
}

void tst_Scan::currentDirectoryLeftAtRoot()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\b"}));
    const QString before = QDir::currentPath();
    scan(kit);
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    QCOMPARE(QFileInfo(now).canonicalFilePath(), QFileInfo(kit.sourceFolder(QString())).canonicalFilePath());
}

void tst_Scan::unreadableRoot_data()
{
    QTest::addColumn<bool>("rootIsFile");
    QTest::newRow("missing") << false;
    QTest::newRow("a file") << true;
}

void tst_Scan::unreadableRoot()
{
    QFETCH(bool, rootIsFile);
    TestKit kit;
    if (rootIsFile) {
        QFile f(kit.sourceFolder(QString()));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QStringList out{"kept"};
    StringListSink sink(out);
    const core::ScanResult result = ScanSourceTree(srcRoot(kit), sink);
    QVERIFY(!result.rootListed);
    QCOMPARE(out, QStringList{"kept"});
}

// A link to a folder being listed, to src itself or to any folder above it
// (the kit folder, the root of the disk) is not followed, but reported.
void tst_Scan::linksUpTheTreeAreNotFollowed()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\b", "c"}));
    LINK_OR_SKIP(kit.sourceFolder(QString()), kit.sourceFolder("a\\b\\toRoot"));
    QVERIFY(linkDirectory(kit.sourceFolder("a"), kit.sourceFolder("a\\b\\toParent")));
    QVERIFY(linkDirectory(QStringLiteral("."), kit.sourceFolder("c\\self")));
    QVERIFY(linkDirectory(QStringLiteral(".."), kit.sourceFolder("up")));
    QVERIFY(linkDirectory(QDir::rootPath(), kit.sourceFolder("c\\disk")));
    core::ScanResult result;
    const QStringList out = scan(kit, &result);
    QCOMPARE(sorted(out), sorted(QStringList{"a", "a\\b", "c"}));
    QCOMPARE(sorted(result.linksNotFollowed),
             sorted(QStringList{"a\\b\\toRoot", "a\\b\\toParent", "c\\self", "up", "c\\disk"}));
}

void tst_Scan::linkElsewhereIsFollowed()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"pkg\\util"}));
    QTemporaryDir outside;
    QVERIFY(QDir().mkpath(outside.path() + "/shared/inner"));
    LINK_OR_SKIP(outside.path() + "/shared", kit.sourceFolder("linked"));
    // A link to a sibling inside the tree is not a loop either.
    QVERIFY(linkDirectory(kit.sourceFolder("pkg"), kit.sourceFolder("alias")));
#ifndef Q_OS_WIN
    // Nor is a dangling link a directory.
    QVERIFY(QFile::link(outside.path() + "/nowhere", kit.sourceFolder("dangling")));
#endif
    const QStringList out = scan(kit);
    QCOMPARE(sorted(out), sorted(QStringList{"pkg", "pkg\\util", "linked", "linked\\inner", "alias",
                                             "alias\\util"}));
}

void tst_Scan::noLimitOnSubdirectories()
{
#ifdef Q_OS_WIN
    if (runsUnderWine())
        QSKIP("making 33,000 folders takes Wine longer than the test may run");
#endif
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({}));
    const int count = 33000;
    QDir root(kit.sourceFolder(QString()));
    for (int i = 0; i < count; ++i)
        QVERIFY(root.mkdir(QStringLiteral("d%1").arg(i)));
    QVERIFY(root.mkdir(QStringLiteral("d7/last")));
    const QStringList out = scan(kit);
    QCOMPARE(out.size(), count + 1);
    QCOMPARE(out.indexOf(QStringLiteral("d7\\last")), out.indexOf(QStringLiteral("d7")) + 1);
}

void tst_Scan::yieldsPacedByTheClock()
{
    // A clock that stands still: no yield at all, rather than one per name.
    {
        TestKit kit;
        QVERIFY(kit.makeSourceFolders({"a\\b", "c", "d"}));
        int yields = 0;
        QStringList out;
        StringListSink sink(out);
        ScanSourceTree(srcRoot(kit), sink, [&](int) { return ++yields > 0; }, [] { return qint64(0); });
        QCOMPARE(out.size(), 4);
        QCOMPARE(yields, 0);
    }
    // Each entry taken in costs 4 ms and the directories hold no names to
    // pause after: events still run as soon as the interval has passed, so
    // they never wait 50 ms.
    {
        TestKit kit;
        QStringList tree;
        for (int i = 0; i < 40; ++i)
            tree << QStringLiteral("p%1").arg(i);
        QVERIFY(kit.makeSourceFolders(tree));
        qint64 now = 0;
        struct SlowSink : core::ScanSink {
            qint64 &now;
            explicit SlowSink(qint64 &clock) : now(clock) {}
            void append(const QString &) override { now += 4; }
        } sink(now);
        QList<qint64> yields;
        QList<int> listed;
        const core::ScanResult whole = ScanSourceTree(srcRoot(kit), sink, [&](int folders) {
            yields << now;
            listed << folders;
            return true;
        }, [&] { return now; });
        QCOMPARE(yields, (QList<qint64>{32, 64, 96, 128, 160}));
        // The root and each folder taken in so far.
        QCOMPARE(listed, (QList<int>{9, 17, 25, 33, 41}));
        QVERIFY(!whole.cancelled);

        // A yield that answers "stop" ends the scan there.
        now = 0;
        const core::ScanResult stopped = ScanSourceTree(srcRoot(kit), sink, [&](int folders) { return folders < 17; },
                                                        [&] { return now; });
        QVERIFY(stopped.rootListed);
        QVERIFY(stopped.cancelled);
        QCOMPARE(now, qint64(64));
    }
}

// However deep the tree, the scan needs no more stack: here a thread with a
// small one, which a walk that called itself per level would overflow.
// (Wine gives no thread less than 1 MiB, and its paths end near 2,000
// levels: there this shows only that a deep tree is walked whole.)
void tst_Scan::deeperThanTheStackAllows()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({}));
    QString deepest = kit.sourceFolder(QString());
    const int levels = 800;
    for (int i = 0; i < levels; ++i) {
        deepest += QStringLiteral("/a");
        QVERIFY2(QDir().mkdir(deepest), qPrintable(QString::number(i)));
    }
    QStringList out;
    core::ScanResult result;
    QVERIFY(runWithStack(128 * 1024, [&] {
        StringListSink sink(out);
        result = ScanSourceTree(srcRoot(kit), sink);
    }));
    QVERIFY(result.rootListed);
    QCOMPARE(out.size(), levels);
    QCOMPARE(out.last(), QStringLiteral("a") + QStringLiteral("\\a").repeated(levels - 1));
    QCOMPARE(result.unreadableEntries, QStringList());
}

QTEST_GUILESS_MAIN(tst_Scan)
#include "tst_scan.moc"
