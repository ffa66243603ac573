// New packages: which names may be one, and the two folders made for it.
#include "core/Packages.h"
#include "core/StringTable.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

class TestPackages : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void folders_data();
    void folders();
};

void TestPackages::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("problem");
    for (const char *name : {"demo", "a\\b", "my lib 1.2", "a/b", "my.pkg", "...x"})
        QTest::newRow(name) << QString::fromUtf8(name) << 0;
    // Names that would make folders outside the source tree.
    for (const char *name : {"..\\escaped", "a\\..\\..\\..\\up", "./here", "\\rooted", "a\\\\b", "trailing\\",
                             "/abs/path", "C:\\elsewhere", "c:rel", "..", "."})
        QTest::newRow(name) << QString::fromUtf8(name) << int(msg::kNameOutsideTree);
    // Windows drops a level's trailing blanks and dots: the entry would name
    // no folder.
    for (const char *name : {"demo ", "demo.", "a.\\b", "a /b", "a\\b..."})
        QTest::newRow(name) << QString::fromUtf8(name) << int(msg::kNameEndsInBlankOrDot);
    QTest::newRow("leading U+FEFF") << QChar(0xFEFF) + QStringLiteral("demo") << int(msg::kNameLeadingMark);
    // What the workspace file cannot hold would come back as another name.
    QTest::newRow("lone surrogate") << QStringLiteral("half") + QChar(0xD800) << int(msg::kNameOutsideCodePage);
#ifdef Q_OS_WIN
    // 1252, where the Windows tests run, has no omega.
    QTest::newRow("omega") << QString::fromUtf8("\xCE\xA9mega") << int(msg::kNameOutsideCodePage);
#endif
}

void TestPackages::names()
{
    QFETCH(QString, name);
    QFETCH(int, problem);
    QCOMPARE(packageNameProblem(name), problem);
    QCOMPARE(staysBelowSourceRoot(name), problem != msg::kNameOutsideTree);
}

// The source folder first, then the runtime folder, one level each; the
// first that cannot be made ends it, and what was made stays.
void TestPackages::folders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("existing");  // below the kit folder
    QTest::addColumn<bool>("made");
    QTest::addColumn<QStringList>("after");      // the folders below src and lib/fb/rt
    QTest::newRow("fresh") << "demo" << QStringList{"src", "lib/fb/rt"} << true
                           << QStringList{"src/demo", "lib/fb/rt/demo"};
    QTest::newRow("nested below existing parents") << "a\\b" << QStringList{"src/a", "lib/fb/rt/a"} << true
                                                   << QStringList{"src/a", "src/a/b", "lib/fb/rt/a", "lib/fb/rt/a/b"};
    QTest::newRow("no parents: nothing made") << "x\\y" << QStringList{"src", "lib/fb/rt"} << false << QStringList{};
    QTest::newRow("source folder exists: nothing more") << "demo" << QStringList{"src/demo", "lib/fb/rt"} << false
                                                        << QStringList{"src/demo"};
    QTest::newRow("no runtime tree: the source folder stays") << "pkg" << QStringList{"src", "lib"} << false
                                                              << QStringList{"src/pkg"};
}

void TestPackages::folders()
{
    QFETCH(QString, name);
    QFETCH(QStringList, existing);
    QFETCH(bool, made);
    QFETCH(QStringList, after);
    QTemporaryDir dir(scratchDirTemplate());
    for (const QString &folder : existing)
        QVERIFY(QDir(dir.path()).mkpath(folder));
    QCOMPARE(makePackageDirectories(Kit(dir.path()), name), made);
    QStringList found;
    for (const QString &root : {QStringLiteral("src"), QStringLiteral("lib/fb/rt")}) {
        QDirIterator it(dir.filePath(root), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(dir.path()).relativeFilePath(it.next());
    }
    found.sort();
    after.sort();
    QCOMPARE(found, after);
}

QTEST_GUILESS_MAIN(TestPackages)
#include "tst_packages.moc"
