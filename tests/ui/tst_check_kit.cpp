// Tool > Check Kit... in the main window: the findings with their icons, in
// both languages, and the Options button that opens the setting's tab.
#include "core/SettingsFile.h"
#include "core/StringTable.h"
#include "ui/frmCheckKit.h"
#include "ui/frmMain.h"
#include "ui/frmOptions.h"

#include "support/ModalWait.h"
#include "support/TestFiles.h"
#include "support/WindowTests.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QHeaderView>
#include <QScreen>
#include <QTextLayout>
#include <QTreeWidget>
#include <QtTest>

class TestCheckKit : public QObject
{
    Q_OBJECT

private slots:
    void findingsShown_data();
    void findingsShown();
    void optionsOnTheSettingsTab();
    void optionsAlreadyOpenTakesInput();
    void mendsFromTheList();
};

namespace {

// Opens Check Kit... from the menu and hands the window to `drive`, which
// closes it.
void openCheck(frmMain &w, const std::function<void(frmCheckKit *)> &drive)
{
    bool seen = false;
    whenModalShows<frmCheckKit>([&](frmCheckKit *box) {
        seen = true;
        drive(box);
        if (box->isVisible())
            box->reject();
    });
    w.mnuToolsCheckKit->trigger();
    QVERIFY(seen);
}

// The row of the first finding of a setting.
QTreeWidgetItem *rowOf(frmCheckKit *box, const QString &setting)
{
    for (int i = 0; i < box->lstFindings->topLevelItemCount(); ++i) {
        if (box->lstFindings->topLevelItem(i)->text(0) == setting)
            return box->lstFindings->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

void TestCheckKit::findingsShown_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("captions");  // menu entry, title, buttons, columns
    QTest::addColumn<QString>("compilerFinding");
    QTest::addColumn<QStringList>("otherSettings");  // of the settings file, the workspace, the help page
    QTest::addColumn<int>("mainLeft");               // on the screen, 1600 pixels wide
    QTest::addColumn<int>("narrowedTo");             // the width the user then gives the window; 0: none
    const QStringList english{"Check &Kit...", "Check Kit", "&Options...", "Check &Again", "Close",
                              "Setting", "Finding", "Path", "&Mend"};
    const QStringList englishOthers{"settings file", "workspace", "help page"};
    QTest::newRow("English, main window on the left")
        << int(core::Language::English) << english << "No compiler there: Compile cannot start it." << englishOthers
        << 20 << 0;
    QTest::newRow("English, narrowed") << int(core::Language::English) << english
                                       << "No compiler there: Compile cannot start it." << englishOthers << 20 << 700;
    QTest::newRow("Japanese, main window on the right")
        << int(core::Language::Japanese)
        << QStringList{"キットの確認(&K)...", "キットの確認", "ｵﾌﾟｼｮﾝ(&O)...", "再確認(&A)", "閉じる", "設定", "結果", "パス", "修正(&M)"}
        << QString::fromUtf8("コンパイラがありません。コンパイルで起動できません。")
        << QStringList{"設定ファイル", "ワークスペース", "ヘルプページ"} << 1100 << 0;
}

void TestCheckKit::findingsShown()
{
    QFETCH(int, language);
    QFETCH(QStringList, captions);
    QFETCH(QString, compilerFinding);
    QFETCH(QStringList, otherSettings);
    QFETCH(int, mainLeft);
    QFETCH(int, narrowedTo);
    core::setCurrentLanguage(core::Language(language));
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"hmi"}));
    frmMain w(kit.path(), placementStore(kit));
    w.setGeometry(mainLeft, 60, 480, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.mnuTools->actions().value(1), w.mnuToolsCheckKit);
    QCOMPARE(w.mnuToolsCheckKit->text(), captions[0]);

    openCheck(w, [&](frmCheckKit *box) {
        QCOMPARE(box->windowTitle(), captions[1]);
        QCOMPARE((QStringList{box->cmdOptions->text(), box->cmdCheckAgain->text(), box->cmdClose->text()}),
                 captions.mid(2, 3));
        QTreeWidgetItem *header = box->lstFindings->headerItem();
        QCOMPARE((QStringList{header->text(0), header->text(1), header->text(2)}), captions.mid(5, 3));
        QCOMPARE(box->cmdMend->text(), captions[8]);
        // One row a finding: setting, sentence and path, the icon its verdict's.
        QCOMPARE(box->lstFindings->topLevelItemCount(), box->findings().size());
        QTreeWidgetItem *compiler = rowOf(box, "Compiler");
        QVERIFY(compiler);
        QCOMPARE(compiler->text(1), compilerFinding);
        QCOMPARE(compiler->icon(0).pixmap(16).toImage(),
                 frmCheckKit::verdictIcon(core::Verdict::Problem).pixmap(16).toImage());
        QCOMPARE(rowOf(box, "src")->icon(0).pixmap(16).toImage(),
                 frmCheckKit::verdictIcon(core::Verdict::Fine).pixmap(16).toImage());
        QVERIFY(frmCheckKit::verdictIcon(core::Verdict::Fine).pixmap(16).toImage()
                != frmCheckKit::verdictIcon(core::Verdict::Warning).pixmap(16).toImage());
        // Problems first, the first of them current: the compiler.
        QCOMPARE(box->lstFindings->topLevelItem(0), compiler);
        QCOMPARE(box->lstFindings->currentItem(), compiler);
        // What is no setting is named in the user's language.
        for (const QString &other : otherSettings)
            QVERIFY2(rowOf(box, other), qPrintable(other));

        // Beside the main window, on the side with room, within the screen.
        const QRect main = w.frameGeometry();
        const QRect shown = box->frameGeometry();
        QVERIFY(box->screen()->availableGeometry().contains(shown));
        QVERIFY(shown.left() == main.right() + 1 || shown.right() + 1 == main.left());
        QCOMPARE(shown.top(), main.top());

        // Each sentence whole: its row as high as its lines, wrapped at its
        // column's width as the style lays them out.
        if (narrowedTo > 0)
            box->resize(narrowedTo, box->height());
        QTreeWidget *list = box->lstFindings;
        const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        const auto linesHeight = [&](const QModelIndex &cell) {
            QTextLayout layout(cell.data().toString(), list->font());
            QTextOption wrap;
            wrap.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(wrap);
            qreal height = 0;
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(list->visualRect(cell).width() - margins);
                height += line.height();
            }
            layout.endLayout();
            return qCeil(height);
        };
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QModelIndex cell = list->model()->index(i, 1);
            QTRY_VERIFY2(linesHeight(cell) <= list->visualRect(cell).height(), qPrintable(cell.data().toString()));
            QVERIFY(list->visualRect(cell).right() < list->viewport()->width());
        }
    });
}

// The Options button opens the dialog on the tab of the line's setting; a
// line about no setting leaves it disabled; afterwards the check runs again.
void TestCheckKit::optionsOnTheSettingsTab()
{
    core::setCurrentLanguage(core::Language::English);
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"hmi"}));
    frmMain w(kit.path(), placementStore(kit));
    QList<int> tabsShown;
    openCheck(w, [&](frmCheckKit *box) {
        for (const auto &[setting, tab] : {std::pair{"JREpath", 0}, std::pair{"Compiler", 1}}) {
            box->lstFindings->setCurrentItem(rowOf(box, setting));
            QVERIFY(box->cmdOptions->isEnabled());
            whenModalShows<frmOptions>([&](frmOptions *options) {
                tabsShown << options->SSTab->currentIndex();
                // Pointed at a program that is there, the compiler is found
                // by the check that follows.
                if (tab == 1)
                    options->txtCompiler->setText(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
                options->cmdApply->click();
                options->reject();
            });
            box->cmdOptions->click();
        }
        QCOMPARE(rowOf(box, "Compiler")->text(1), QStringLiteral("The compiler is there."));
        box->lstFindings->setCurrentItem(rowOf(box, "src"));
        QVERIFY(!box->cmdOptions->isEnabled());
    });
    QCOMPARE(tabsShown, (QList<int>{0, 1}));
}

// Options open beside the main window (after an import) when "Options..."
// is clicked: it must take keys above the modal check, OK saves what was
// typed, and the check runs again once it has closed.
void TestCheckKit::optionsAlreadyOpenTakesInput()
{
    core::setCurrentLanguage(core::Language::English);
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"hmi"}));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showOptionsModeless(0);
    frmOptions *beside = w.options().form();
    QVERIFY(beside && beside->isVisible());
    // A program that is there: the test itself.
    const QString compiler = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    QString typed;
    QString findingWhileOpen;
    openCheck(w, [&](frmCheckKit *box) {
        box->lstFindings->setCurrentItem(rowOf(box, "Compiler"));
        whenModalShows<frmOptions>([&](frmOptions *options) {
            findingWhileOpen = rowOf(box, "Compiler")->text(1);
            QCOMPARE(options, beside);
            QCOMPARE(options->SSTab->currentIndex(), 1);
            options->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(options));
            options->txtCompiler->setFocus();
            options->txtCompiler->clear();
            // Through the window system, which gives a blocked window no keys.
            for (const QChar c : compiler)
                QTest::keyClick(options->windowHandle(), c.toLatin1());
            typed = options->txtCompiler->text();
            QTest::keyClick(options->windowHandle(), Qt::Key_Return);
        });
        box->cmdOptions->click();
        QCOMPARE(rowOf(box, "Compiler")->text(1), QStringLiteral("The compiler is there."));
    });
    QCOMPARE(typed, compiler);
    QCOMPARE(findingWhileOpen, QStringLiteral("No compiler there: Compile cannot start it."));
    core::Settings saved;
    core::readSettingsFile(kit.ini(), saved);
    QCOMPARE(saved.value(core::kCompiler), compiler);
}

// A runtime that is not there is mended from the installations found: the
// one chosen fills the Options dialog's field, which OK saves. A class
// folder that is not there is made. Each leaves its line fine.
void TestCheckKit::mendsFromTheList()
{
    core::setCurrentLanguage(core::Language::English);
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"hmi"}));
    QTemporaryDir jdk;
    const QString java = QDir::toNativeSeparators(standInFile(jdk.filePath(QStringLiteral("java"))));
    QVERIFY(installStandIn(jdk.filePath(QStringLiteral("java"))));
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(QDir::toNativeSeparators(jdk.path())));
    frmMain w(kit.path(), placementStore(kit));
    w.setSetting(core::kClassDirectory, QStringLiteral("out\\classes"));
    QString filled;
    int tab = -1;
    openCheck(w, [&](frmCheckKit *box) {
        QVERIFY(rowOf(box, QStringLiteral("Java")));
        box->lstFindings->setCurrentItem(rowOf(box, QStringLiteral("JREpath")));
        QVERIFY(box->cmdMend->isEnabled());
        // This machine's own JDKs may be offered too: then a menu.
        auto *poll = new QTimer(box);
        connect(poll, &QTimer::timeout, [&, poll] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                poll->stop();
                for (QAction *a : menu->actions()) {
                    if (a->text().startsWith("Use " + java + " (PATH)"))
                        menu->setActiveAction(a);
                }
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        poll->start(10);
        whenModalShows<frmOptions>([&](frmOptions *options) {
            poll->stop();
            filled = options->txtJREpath->text();
            tab = options->SSTab->currentIndex();
            options->cmdOK->click();
        });
        box->cmdMend->click();
        QCOMPARE(rowOf(box, QStringLiteral("JREpath"))->text(1), QStringLiteral("The Java runtime is there."));

        box->lstFindings->setCurrentItem(rowOf(box, QStringLiteral("ClassDirectory")));
        box->cmdMend->click();
        QCOMPARE(rowOf(box, QStringLiteral("ClassDirectory"))->text(1), QStringLiteral("The class folder is there."));
        box->lstFindings->setCurrentItem(rowOf(box, QStringLiteral("ClassDirectory")));
        QVERIFY(!box->cmdMend->isEnabled());
    });
    QCOMPARE(filled, java);
    QCOMPARE(tab, 0);
    core::Settings saved;
    core::readSettingsFile(kit.ini(), saved);
    QCOMPARE(saved.value(core::kJREpath), java);
    QVERIFY(QFileInfo(kit.at(QStringLiteral("out/classes"))).isDir());
}

// On a screen with room for the main window and the check beside it, and
// with the frames a window system puts around windows. The platform's
// options are separated by ":", so its file is named from its own folder,
// which is the current one only while the application starts.
int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly)
        || config.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
                            "width": 1600, "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
               < 0)
        return 1;
    config.close();
    const QString started = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
    QApplication app(argc, argv);
    QDir::setCurrent(started);
    TestCheckKit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_check_kit.moc"
