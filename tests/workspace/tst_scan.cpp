// The source-tree scan on real directory trees built per test.
#include "workspace/SourceScan.h"

#include "common/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

using workspace::ScanSourceTree;
using workspace::StringListSink;

namespace {

// The kit folder of one test: AppPath, with src below it.
struct Kit {
    QTemporaryDir dir{scratchDirTemplate()};
    QString appPath() const { return dir.path(); }
    QString srcRoot() const { return dir.path() + QStringLiteral("\\src"); }
    QString native(const QString &entry) const
    {
        QString rel = entry;
        rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return dir.path() + QStringLiteral("/src") + (rel.isEmpty() ? QString() : QStringLiteral("/") + rel);
    }
    void dirs(const QStringList &entries) const
    {
        QDir().mkpath(native(QString()));
        for (const QString &e : entries)
            QVERIFY2(QDir().mkpath(native(e)), qPrintable(e));
    }
    void file(const QString &entry) const
    {
        QFile f(native(entry));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QStringList scan(workspace::ScanResult *result = nullptr) const
    {
        QStringList out;
        StringListSink sink(out);
        const workspace::ScanResult r = ScanSourceTree(srcRoot(), sink);
        if (result)
            *result = r;
        return out;
    }
};

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
    void scansOnlyAppend();
    void currentDirectoryLeftAtRoot();
    void unreadableRoot_data();
    void unreadableRoot();
    void linkBackToAncestorEnds();
    void linkElsewhereIsFollowed();
    void noLimitOnSubdirectories();
    void yieldsPacedByTheClock();
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
    Kit kit;
    kit.dirs({});
    for (const QString &f : files)
        kit.file(f);
    workspace::ScanResult result;
    QCOMPARE(kit.scan(&result), QStringList());
    QVERIFY(result.rootListed);
}

void tst_Scan::namesPassedOverOrKept()
{
    Kit kit;
#ifdef Q_OS_WIN
    const QString dotted = "a.b.c"; // Windows drops a name's trailing dot
#else
    const QString dotted = "a.b.";
#endif
    // The two spellings in folders of their own, for file systems that
    // ignore case.
    kit.dirs({"sub\\pagefile.sys\\inner", "PageFile.sys\\inner", "my lib 1.2\\v.0", "FB\\Rt", dotted, "x"});
    kit.file("x\\file.java");
    const QStringList out = kit.scan();
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
    Kit kit;
    kit.dirs({"a\\b\\c"});
    kit.file("a\\b\\B.java");
    QCOMPARE(kit.scan(), (QStringList{"a", "a\\b", "a\\b\\c"}));
}

void tst_Scan::hiddenDirectoriesAndAllBelowAreSkipped()
{
    Kit kit;
#ifdef Q_OS_WIN
    // Hidden and system are attributes here.
    kit.dirs({"svn\\sub", "pkg\\git\\objects", "pkg\\util"});
    for (const auto &[entry, attribute] : {std::pair{"svn", FILE_ATTRIBUTE_HIDDEN},
                                           std::pair{"pkg\\git", FILE_ATTRIBUTE_SYSTEM}}) {
        const std::wstring path = QDir::toNativeSeparators(kit.native(entry)).toStdWString();
        QVERIFY(SetFileAttributesW(path.c_str(), attribute));
        if (!(GetFileAttributesW(path.c_str()) & attribute))
            QSKIP("this file system keeps no hidden or system attribute");
    }
#else
    kit.dirs({".svn\\sub", "pkg\\.git\\objects", "pkg\\util"});
#endif
    QCOMPARE(kit.scan(), (QStringList{"pkg", "pkg\\util"}));
}

void tst_Scan::siblingsEachFollowedByTheirSubtree()
{
    Kit kit;
    const QStringList tree{"fb\\rt\\hmi", "fb\\rt\\math", "fb\\net", "test\\unit", "zz", "lib\\a\\b",
                           "lib\\c"};
    kit.dirs(tree);
    kit.file("readme.txt");
    const QStringList out = kit.scan();

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
    // Siblings keep the order of the directory listing.
    for (const QString &parent : {QString(), QStringLiteral("fb"), QStringLiteral("fb\\rt"),
                                  QStringLiteral("lib")}) {
        QStringList children;
        for (const QString &e : out) {
            const int cut = e.lastIndexOf(QLatin1Char('\\'));
            if ((cut < 0 ? QString() : e.left(cut)) == parent)
                children << e.mid(cut + 1);
        }
        QCOMPARE(children, listingOrder(kit.native(parent)));
    }
}

void tst_Scan::scansOnlyAppend()
{
    Kit kit;
    kit.dirs({"a\\b", "c"});
    QStringList out{"kept"};
    StringListSink sink(out);
    ScanSourceTree(kit.srcRoot(), sink);
    const QStringList once = out.mid(1);
    ScanSourceTree(kit.srcRoot(), sink);
    QCOMPARE(once.size(), 3);
    QCOMPARE(out, QStringList{"kept"} + once + once);
}

void tst_Scan::currentDirectoryLeftAtRoot()
{
    Kit kit;
    kit.dirs({"a\\b"});
    const QString before = QDir::currentPath();
    kit.scan();
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    QCOMPARE(QFileInfo(now).canonicalFilePath(), QFileInfo(kit.native(QString())).canonicalFilePath());
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
    Kit kit;
    if (rootIsFile) {
        QFile f(kit.native(QString()));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QStringList out{"kept"};
    StringListSink sink(out);
    const workspace::ScanResult result = ScanSourceTree(kit.srcRoot(), sink);
    QVERIFY(!result.rootListed);
    QCOMPARE(out, QStringList{"kept"});
}

void tst_Scan::linkBackToAncestorEnds()
{
    Kit kit;
    kit.dirs({"a\\b", "c"});
    LINK_OR_SKIP(kit.native(QString()), kit.native("a\\b\\toRoot"));
    QVERIFY(linkDirectory(kit.native("a"), kit.native("a\\b\\toParent")));
    QVERIFY(linkDirectory(QStringLiteral("."), kit.native("c\\self")));
    workspace::ScanResult result;
    const QStringList out = kit.scan(&result);
    QCOMPARE(sorted(out), sorted(QStringList{"a", "a\\b", "c"}));
    QCOMPARE(result.linkLoopsSkipped, 3);
}

void tst_Scan::linkElsewhereIsFollowed()
{
    Kit kit;
    kit.dirs({"pkg\\util"});
    QTemporaryDir outside;
    QVERIFY(QDir().mkpath(outside.path() + "/shared/inner"));
    LINK_OR_SKIP(outside.path() + "/shared", kit.native("linked"));
    // A link to a sibling inside the tree is not a loop either.
    QVERIFY(linkDirectory(kit.native("pkg"), kit.native("alias")));
#ifndef Q_OS_WIN
    // Nor is a dangling link a directory.
    QVERIFY(QFile::link(outside.path() + "/nowhere", kit.native("dangling")));
#endif
    const QStringList out = kit.scan();
    QCOMPARE(sorted(out), sorted(QStringList{"pkg", "pkg\\util", "linked", "linked\\inner", "alias",
                                             "alias\\util"}));
}

void tst_Scan::noLimitOnSubdirectories()
{
#ifdef Q_OS_WIN
    if (runsUnderWine())
        QSKIP("making 33,000 folders takes Wine longer than the test may run");
#endif
    Kit kit;
    kit.dirs({});
    const int count = 33000;
    QDir root(kit.native(QString()));
    for (int i = 0; i < count; ++i)
        QVERIFY(root.mkdir(QStringLiteral("d%1").arg(i)));
    QVERIFY(root.mkdir(QStringLiteral("d7/last")));
    const QStringList out = kit.scan();
    QCOMPARE(out.size(), count + 1);
    QCOMPARE(out.indexOf(QStringLiteral("d7\\last")), out.indexOf(QStringLiteral("d7")) + 1);
}

void tst_Scan::yieldsPacedByTheClock()
{
    // A clock that stands still: no yield at all, rather than one per name.
    {
        Kit kit;
        kit.dirs({"a\\b", "c", "d"});
        int yields = 0;
        QStringList out;
        StringListSink sink(out);
        ScanSourceTree(kit.srcRoot(), sink, [&] { ++yields; }, [] { return qint64(0); });
        QCOMPARE(out.size(), 4);
        QCOMPARE(yields, 0);
    }
    // Each entry taken in costs 4 ms and the directories hold no names to
    // pause after: events still run as soon as the interval has passed, so
    // they never wait 50 ms.
    {
        Kit kit;
        QStringList tree;
        for (int i = 0; i < 40; ++i)
            tree << QStringLiteral("p%1").arg(i);
        kit.dirs(tree);
        qint64 now = 0;
        struct SlowSink : workspace::ScanSink {
            qint64 &now;
            explicit SlowSink(qint64 &clock) : now(clock) {}
            void append(const QString &) override { now += 4; }
        } sink(now);
        QList<qint64> yields;
        ScanSourceTree(kit.srcRoot(), sink, [&] { yields << now; }, [&] { return now; });
        QCOMPARE(yields, (QList<qint64>{32, 64, 96, 128, 160}));
    }
}

QTEST_GUILESS_MAIN(tst_Scan)
#include "tst_scan.moc"
