// "&Libs..." on the real main window: the dialog edits the window's own
// source-path list, and a missing source folder shows in its status panel.
#include "ui/ListRows.h"
#include "ui/dlgEditSrc.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"
#include "support/WindowTests.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

int clickLibs(frmMain &w, const std::function<void(dlgEditSrc *)> &drive)
{
    return clickAndDrive<dlgEditSrc>(w.cmdEditSrcpath, drive);
}

} // namespace

class tst_DlgEditSrcMain : public QObject
{
    Q_OBJECT
private slots:
    void editsTheWindowsList();
    void missingSourceFolderInStatusPanel();
    void opensCentredOnTheMainWindow();
};

void tst_DlgEditSrcMain::editsTheWindowsList()
{
    TestKit kit;
    QVERIFY(QDir().mkpath(kit.at(QStringLiteral("src/fb/rt"))));
    QVERIFY(QDir().mkpath(kit.at(QStringLiteral("src/test"))));
    QVERIFY(kit.write("TAVO_Starter.dat", "test\r\ngone\r\n\r\n\r\ntest\r\nMy.fbt\r\n"));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QCOMPARE(ui::listEntries(w.lstsrcpath), (QStringList{"test", "gone"}));

    const int seen = clickLibs(w, [](dlgEditSrc *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Select libraries"));
        d->lstsrcpath->setFocus();
        d->lstsrcpath->setCurrentItem(
            d->lstsrcpath->findItems(QStringLiteral("fb\\rt"), Qt::MatchExactly).value(0));
        QTest::keyClick(d->lstsrcpath, Qt::Key_Space);
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
    });
    QCOMPARE(seen, 1);
    QCOMPARE(ui::listEntries(w.lstsrcpath), (QStringList{"test", "fb\\rt"}));
    QCOMPARE(ui::selectedRow(w.lstsrcpath), 0);
    QVERIFY(w.isEnabled());
    QCOMPARE(w.statusText(), QString());
}

void tst_DlgEditSrcMain::missingSourceFolderInStatusPanel()
{
    TestKit kit;
    QVERIFY(kit.write("TAVO_Starter.dat", "a\r\nb\r\n\r\n\r\nb\r\n\r\n"));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QCOMPARE(clickLibs(w, [](dlgEditSrc *d) { d->OKButton->click(); }), 0);
    QCOMPARE(ui::listEntries(w.lstsrcpath), (QStringList{"a", "b"}));
    QCOMPARE(ui::selectedRow(w.lstsrcpath), 1);
    QCOMPARE(w.statusText(),
             QStringLiteral("The source folder cannot be read: ") + QDir::toNativeSeparators(kit.path() + QStringLiteral("/src")));
    QVERIFY(w.isEnabled());
}

// On the main window it belongs to, not where the window system puts new
// windows.
void tst_DlgEditSrcMain::opensCentredOnTheMainWindow()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({QStringLiteral("pkg")}));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(w.screen()->availableGeometry().topLeft() + QPoint(20, 30));
    QPoint offset(1000, 1000);
    QCOMPARE(clickLibs(w, [&](dlgEditSrc *d) {
                 offset = d->frameGeometry().center() - w.frameGeometry().center();
                 d->reject();
             }),
             1);
    QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
             qPrintable(QStringLiteral("%1, %2 off the main window's centre").arg(offset.x()).arg(offset.y())));
}

QTEST_MAIN(tst_DlgEditSrcMain)
#include "tst_dlgeditsrc_main.moc"
