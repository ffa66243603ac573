#include "core/StringTable.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"

#include <QApplication>
#include <QDir>
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

        const InputBoxSeen again = pressNew(QStringLiteral("demo"));
        QVERIFY(again.shown);
        QVERIFY(!again.otherModalAfter);
        QCOMPARE(entries(), QStringList({"first", "second", "demo"}));

        // "/" between levels is taken as "\", the list's own form.
        pressNew(QStringLiteral("demo/util"));
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
        // The prompt and the title as given; the buttons in the user's words.
        QCOMPARE(seen.title, QStringLiteral("New Package"));
        QCOMPARE(seen.label, QStringLiteral("Package Name"));
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
        QString shown;
        whenModalShows<QInputDialog>([&](QInputDialog *box) {
            box->setTextValue(name);
            whenModalShows<QMessageBox>([&](QMessageBox *m) {
                shown = m->text();
                m->accept();
            });
            box->accept();
        });
        m_main->cmdNewDir->click();
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(shown, message);
        QCOMPARE(entries(), QStringList({"first", "second"}));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QCOMPARE(QDir(m_kit + QStringLiteral("/src")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"a"});
        QCOMPARE(QDir(m_kit + QStringLiteral("/src/a")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(QDir(m_kit + QStringLiteral("/lib/fb/rt")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a"});
    }

    void libraryFolderUnavailable_data()
    {
        QTest::addColumn<bool>("runtimeTree");
        QTest::newRow("runtime tree missing") << false;
    }

    // The source folder is made and stays; the name is not listed.
    void libraryFolderUnavailable()
    {
        QFETCH(bool, runtimeTree);
        makeKit(runtimeTree);
        if (runtimeTree)
            QDir().mkpath(m_kit + QStringLiteral("/lib/fb/rt/pkg"));
        const InputBoxSeen seen = pressNew(QStringLiteral("pkg"));
        QVERIFY(!seen.otherModalAfter);
        QVERIFY(exists(QStringLiteral("src/pkg")));
        QCOMPARE(exists(QStringLiteral("lib/fb/rt/pkg")), runtimeTree);
        QCOMPARE(entries(), QStringList({"first", "second"}));
    }
};

QTEST_MAIN(TestNewPackage)
#include "tst_new_package.moc"
