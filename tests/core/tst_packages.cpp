// New packages: which names may be one, and the two folders made for it.
#include "core/Packages.h"
#include "core/StringTable.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace core;

Q_DECLARE_METATYPE(core::PackageFolders::Outcome)

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

// Both folders, or neither: each is looked at first, missing levels above
// them are made only when asked (never the roots), and what the system then
// refuses takes back what was made.
void TestPackages::folders_data()
{
    using Outcome = PackageFolders::Outcome;
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("existing");  // below the kit folder
    QTest::addColumn<bool>("makeMissingLevels");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("named");     // the folder named, the root, the missing levels
    QTest::addColumn<QStringList>("after");     // the folders below src and lib/fb/rt
    const QStringList roots{"src", "lib/fb/rt"};
    QTest::newRow("fresh") << "demo" << roots << false << Outcome::Made << QStringList{}
                           << QStringList{"src/demo", "lib/fb/rt/demo"};
    QTest::newRow("nested below existing levels") << "a\\b" << QStringList{"src/a", "lib/fb/rt/a"} << false
                                                  << Outcome::Made << QStringList{}
                                                  << QStringList{"src/a", "src/a/b", "lib/fb/rt/a", "lib/fb/rt/a/b"};
    QTest::newRow("missing levels: named, nothing made") << "x\\y\\z" << QStringList{"src/x", "lib/fb/rt"} << false
                                                         << Outcome::LevelsMissing
                                                         << QStringList{"src\\x\\y", "lib\\fb\\rt\\x", "lib\\fb\\rt\\x\\y"}
                                                         << QStringList{"src/x"};
    QTest::newRow("missing levels made when asked") << "x\\y" << roots << true << Outcome::Made << QStringList{}
                                                    << QStringList{"src/x", "src/x/y", "lib/fb/rt/x", "lib/fb/rt/x/y"};
    QTest::newRow("source folder there") << "demo" << QStringList{"src/demo", "lib/fb/rt"} << true << Outcome::Exists
                                         << QStringList{"src\\demo"} << QStringList{"src/demo"};
    QTest::newRow("runtime folder there: the source folder is not made")
        << "demo" << QStringList{"src", "lib/fb/rt/demo"} << true << Outcome::Exists
        << QStringList{"lib\\fb\\rt\\demo"} << QStringList{"lib/fb/rt/demo"};
    QTest::newRow("no runtime tree: never made") << "pkg" << QStringList{"src", "lib"} << true << Outcome::RootMissing
                                                 << QStringList{"lib\\fb\\rt\\pkg", "lib\\fb\\rt"} << QStringList{};
    QTest::newRow("a name too long for the system") << QString(300, QLatin1Char('n')) << roots << false
                                                    << Outcome::NameTooLong << QStringList{"src\\" + QString(300, QLatin1Char('n'))}
                                                    << QStringList{};
    QTest::newRow("too long below missing levels: they go again")
        << "m\\" + QString(300, QLatin1Char('n')) << roots << true << Outcome::NameTooLong
        << QStringList{"src\\m\\" + QString(300, QLatin1Char('n'))} << QStringList{};
}

void TestPackages::folders()
{
    QFETCH(QString, name);
    QFETCH(QStringList, existing);
    QFETCH(bool, makeMissingLevels);
    QFETCH(PackageFolders::Outcome, outcome);
    QFETCH(QStringList, named);
    QFETCH(QStringList, after);
    QTemporaryDir dir(scratchDirTemplate());
    for (const QString &folder : existing)
        QVERIFY(QDir(dir.path()).mkpath(folder));
    const PackageFolders made = makePackageFolders(Kit(dir.path()), name, makeMissingLevels);
    QCOMPARE(made.outcome, outcome);
    QStringList got = QStringList{made.folder, made.root} + made.missingLevels;
    got.removeAll(QString());
    QCOMPARE(got, named);
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
