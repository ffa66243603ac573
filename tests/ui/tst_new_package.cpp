#include "core/StringTable.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <optional>

namespace {

struct InputBoxSeen {
    bool shown = false;
    QString title;
    QString label;
    QString initialText;
    QStringList buttons;  // sorted: their order is the platform's
    bool otherModalAfter = false;
};

// Answers the next input box: types the text and presses OK, or cancels when
// no text is given.
void answerInputBox(std::optional<QString> text, InputBoxSeen *seen)
{
    whenModalShows<QInputDialog>(
        [=](QInputDialog *box) {
            seen->shown = true;
            seen->title = box->windowTitle();
            seen->label = box->labelText();
            seen->initialText = box->textValue();
            for (const QPushButton *b : box->findChildren<QPushButton *>())
                seen->buttons << b->text();
            seen->buttons.sort();
            if (text) {
                box->setTextValue(*text);
                box->accept();
            } else {
                box->reject();
            }
            // A message box after the input box would show up here.
            QTimer::singleShot(50, [seen] {
                if (QWidget *w = QApplication::activeModalWidget()) {
                    seen->otherModalAfter = true;
                    w->close();
                }
            });
        },
        200);
}

} // namespace

class TestNewPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_kit;
    std::unique_ptr<frmMain> m_main;

    void makeKit(bool withRuntimeTree)
    {
        m_kit = m_dir.path() + QStringLiteral("/kit");
        QDir().mkpath(m_kit + QStringLiteral("/src"));
        QDir().mkpath(m_kit + (withRuntimeTree ? QStringLiteral("/lib/fb/rt") : QStringLiteral("/lib")));
        const QString ini = m_dir.path() + QStringLiteral("/placement.ini");
        m_main = std::make_unique<frmMain>(m_kit, [ini] {
            return std::make_unique<QSettings>(ini, QSettings::IniFormat);
        });
        m_main->lstsrcpath->addItems({QStringLiteral("first"), QStringLiteral("second")});
        m_main->lstsrcpath->setCurrentRow(0);
    }

    InputBoxSeen pressNew(std::optional<QString> text)
    {
        InputBoxSeen seen;
        answerInputBox(text, &seen);
        m_main->cmdNewDir->click();
        QTest::qWait(100);
        return seen;
    }

    // Presses New, types the name into the first input box and cancels any
    // later one, answers a question Yes or No. What it showed, one line a
    // box: "input: " and the text it held, "question: " or "message: " and
    // its text.
    QStringList typeName(const QString &name, bool yes = false)
    {
        QStringList seen;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *w = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QInputDialog *>(w)) {
                seen << QStringLiteral("input: ") + box->textValue();
                if (seen.size() == 1) {
                    box->setTextValue(name);
                    box->accept();
                } else {
                    box->reject();
                }
            } else if (auto *m = qobject_cast<QMessageBox *>(w)) {
                QAbstractButton *answer = m->button(yes ? QMessageBox::Yes : QMessageBox::No);
                seen << (answer ? QStringLiteral("question: ") : QStringLiteral("message: ")) + m->text();
                if (answer)
                    answer->click();
                else
                    m->accept();
            }
        });
        poll.start();
        m_main->cmdNewDir->click();
        return seen;
    }

    QStringList entries() const
    {
        QStringList list;
        for (int i = 0; i < m_main->lstsrcpath->count(); ++i)
            list << m_main->lstsrcpath->item(i)->text();
        return list;
    }

    bool exists(const QString &relative) const
    {
        return QFileInfo(m_kit + QLatin1Char('/') + relative).isDir();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        core::setCurrentLanguage(core::Language::English);
    }

    void cleanup()
    {
        m_main.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    // A fresh name makes both folders and becomes the last entry; pressing
    // again with the same name changes nothing.
    void newPackageInFreshTree()
    {
        makeKit(true);
        const InputBoxSeen seen = pressNew(QStringLiteral("demo"));
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("New Package"));
        QCOMPARE(seen.label, QStringLiteral("Package Name"));
        QCOMPARE(seen.initialText, QString());
        QVERIFY(!seen.otherModalAfter);

        QVERIFY(exists(QStringLiteral("src/demo")));
        QVERIFY(exists(QStringLiteral("lib/fb/rt/demo")));
        QCOMPARE(entries(), QStringList({"first", "second", "demo"}));
        QCOMPARE(m_main->lstsrcpath->currentRow(), 0);

        // Said, and asked again with the name kept.
        QCOMPARE(typeName(QStringLiteral("demo")),
                 QStringList({"input: ", "message: " + QDir::toNativeSeparators("src/demo")
                                  + " already exists: choose another name.",
                              "input: demo"}));
        QCOMPARE(entries(), QStringList({"first", "second", "demo"}));

        // "/" between levels is taken as "\", the list's own form.
        QCOMPARE(typeName(QStringLiteral("demo/util")), QStringList{"input: "});
        QVERIFY(exists(QStringLiteral("src/demo/util")));
        QVERIFY(exists(QStringLiteral("lib/fb/rt/demo/util")));
        QCOMPARE(entries(), QStringList({"first", "second", "demo", "demo\\util"}));
    }

    void cancelAndEmptyName_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("japanese");
        QTest::newRow("cancel") << true << false;
        QTest::newRow("empty name") << false << false;
        QTest::newRow("cancel, Japanese") << true << true;
    }

    // Cancel gives the empty name: the source root exists, so nothing changes
    // and nothing is said.
    void cancelAndEmptyName()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, japanese);
        core::setCurrentLanguage(japanese ? core::Language::Japanese : core::Language::English);
        makeKit(true);
        const InputBoxSeen seen = pressNew(cancel ? std::nullopt : std::optional<QString>(QString()));
        QVERIFY(seen.shown);
        // The prompt, the title and the buttons in the user's words.
        QCOMPARE(seen.title, japanese ? QString::fromUtf8("新規パッケージ") : QStringLiteral("New Package"));
        QCOMPARE(seen.label, japanese ? QString::fromUtf8("パッケージ名") : QStringLiteral("Package Name"));
        QCOMPARE(seen.buttons, japanese ? QStringList({"OK", QString::fromUtf8("ｷｬﾝｾﾙ")}) : QStringList({"Cancel", "OK"}));
        QVERIFY(!seen.otherModalAfter);
        QCOMPARE(entries(), QStringList({"first", "second"}));
        QCOMPARE(QDir(m_kit + QStringLiteral("/src")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(QDir(m_kit + QStringLiteral("/lib/fb/rt")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(m_main->statusText(), QString());
    }

    // A name that would make folders outside the tree, or that the
    // workspace file cannot hold, makes nothing and says why.
    void refusedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString outside = QStringLiteral("\"%1\" is no folder below src: the levels of a package name are "
                                               "joined by \\ and may be neither empty nor \".\" or \"..\", and it "
                                               "names no drive.");
        // One of each kind; the core's table has every rule.
        QTest::newRow("leaves the tree") << QStringLiteral("..\\escaped") << outside.arg(QStringLiteral("..\\escaped"));
#ifdef Q_OS_WIN
        // 1252, where the Windows tests run, has no omega.
        const QString lossy = QString::fromUtf8("\xCE\xA9mega");
#else
        const QString lossy = QStringLiteral("half") + QChar(0xD800) + QStringLiteral("pair");
#endif
        QTest::newRow("a level ends in a blank")
            << QStringLiteral("a \\b") << QStringLiteral("\"a \\b\": a level of a package name may not end in a blank or a "
                                                       "dot; Windows drops them, and the entry would name no folder.");
        QTest::newRow("outside the code page")
            << lossy << QStringLiteral("\"%1\" holds characters the system's code page cannot hold, so the "
                                       "workspace file could not keep it.").arg(lossy);
    }
    void refusedNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        makeKit(true);
        QDir().mkpath(m_kit + QStringLiteral("/src/a"));
        QDir().mkpath(m_kit + QStringLiteral("/lib/fb/rt/a"));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        // Said, and asked again holding what was typed.
        QCOMPARE(typeName(name), QStringList({"input: ", "message: " + message, "input: " + name}));
        QCOMPARE(entries(), QStringList({"first", "second"}));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(QDir(m_kit + QStringLiteral("/src")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"a"});
        QCOMPARE(QDir(m_kit + QStringLiteral("/src/a")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(QDir(m_kit + QStringLiteral("/lib/fb/rt")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a"});
    }

    // Folders that cannot be made are said, and the name is kept for
    // another try; missing levels above the package are offered, once.
    void foldersThatCannotBeMade_data()
    {
        QTest::addColumn<bool>("runtimeTree");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<QStringList>("made");  // below the kit
        const auto native = [](const char *path) { return QDir::toNativeSeparators(QString::fromUtf8(path)); };
        const QString question = "question: These folders do not exist: " + native("src/zone") + ", "
            + native("lib/fb/rt/zone") + ". Make them as well?";
        QTest::newRow("levels missing, declined") << true << "zone/area" << false
                                                  << QStringList{"input: ", question, "input: zone/area"} << QStringList{};
        QTest::newRow("levels missing, made") << true << "zone/area" << true << QStringList{"input: ", question}
                                              << QStringList{"lib/fb/rt/zone", "lib/fb/rt/zone/area", "src/zone", "src/zone/area"};
        QTest::newRow("runtime tree missing")
            << false << "pkg" << false
            << QStringList{"input: ", "message: " + native("lib/fb/rt/pkg") + " cannot be made: " + native("lib/fb/rt") + " is missing.",
                           "input: pkg"}
            << QStringList{};
        const QString tooLong(300, QLatin1Char('n'));
        QTest::newRow("name too long")
            << true << tooLong << false
            << QStringList{"input: ", "message: " + native("src/") + tooLong + " cannot be made: the name is too long for the system.",
                           "input: " + tooLong}
            << QStringList{};
    }
    void foldersThatCannotBeMade()
    {
        QFETCH(bool, runtimeTree);
        QFETCH(QString, name);
        QFETCH(bool, yes);
        QFETCH(QStringList, seen);
        QFETCH(QStringList, made);
        makeKit(runtimeTree);
        QCOMPARE(typeName(name, yes), seen);
        QStringList found;
        QDirIterator it(m_kit, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(m_kit).relativeFilePath(it.next());
        for (const char *kitFolder : {"src", "lib", "lib/fb", "lib/fb/rt"})
            found.removeAll(QLatin1String(kitFolder));
        found.sort();
        QCOMPARE(found, made);
        QCOMPARE(entries(), made.isEmpty() ? QStringList({"first", "second"})
                                           : QStringList({"first", "second", "zone\\area"}));
    }
};

QTEST_MAIN(TestNewPackage)
#include "tst_new_package.moc"
