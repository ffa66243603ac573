#include "ui/frmAbout.h"
#include "core/StringTable.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

struct BoxSeen {
    bool shown = false;
    frmAbout *box = nullptr;
    QWidget *owner = nullptr;
    bool modal = false;
    QString title;
    QString version;
    QString appTitle;
    QString description;
    QString disclaimer;
    QString ok;
    QString sysInfo;
    QWidget *focus = nullptr;
    int okClicks = 0;
};

// Waits for the About box to be the modal window, notes what it shows, then
// hands it to `close`.
void whenAboutBoxShows(BoxSeen *seen, std::function<void(frmAbout *)> close)
{
    whenModalShows<frmAbout>(
        [=](frmAbout *box) {
            seen->shown = true;
            seen->box = box;
            seen->owner = box->parentWidget();
            seen->modal = box->isModal();
            seen->title = box->windowTitle();
            seen->version = box->lblVersion->text();
            seen->appTitle = box->lblTitle->text();
            seen->description = box->lblDescription->text();
            seen->disclaimer = box->lblDisclaimer->text();
            seen->ok = box->cmdOK->text();
            seen->sysInfo = box->cmdSysInfo->text();
            seen->focus = box->focusWidget();
            QObject::connect(box->cmdOK, &QPushButton::clicked, [seen] { ++seen->okClicks; });
            close(box);
            // Still open after the close attempt: end the test's wait anyway.
            // The box may be gone by then, with the main window of a test
            // that has ended.
            QTimer::singleShot(200, [box = QPointer<frmAbout>(box)] {
                if (box && box->isVisible())
                    box->done(0);
            });
        },
        200, [](frmAbout *box) { return !(!box->isVisible() || !box->isActiveWindow()); });
}

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmMain> m_main;

    BoxSeen open(std::function<void(frmAbout *)> close)
    {
        BoxSeen seen;
        whenAboutBoxShows(&seen, std::move(close));
        m_main->mnuHelpAbout->trigger();
        return seen;
    }

    static QWidget *keyTarget(frmAbout *box)
    {
        return box->focusWidget() ? box->focusWidget() : box;
    }
    static void pressEnter(frmAbout *box) { QTest::keyClick(keyTarget(box), Qt::Key_Return); }
    static void pressEscape(frmAbout *box) { QTest::keyClick(keyTarget(box), Qt::Key_Escape); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        const QString kit = m_dir.path() + QStringLiteral("/kit");
        QDir().mkpath(kit + QStringLiteral("/src"));
        const QString ini = m_dir.path() + QStringLiteral("/placement.ini");
        core::setCurrentLanguage(core::Language::English);
        m_main = std::make_unique<frmMain>(kit, [ini] {
            return std::make_unique<QSettings>(ini, QSettings::IniFormat);
        });
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }

    void cleanup()
    {
        m_main.reset();
        core::setCurrentLanguage(core::Language::English);
    }

    // Two openings in one run: the same box, loaded afresh, so the version
    // and the description lines appear once. Enter closes the first time,
    // Esc the second, both through OK.
    void openTwiceEnglish()
    {
        const BoxSeen first = open(pressEnter);
        QVERIFY(first.shown);
        QVERIFY(!first.box->isVisible());
        QCOMPARE(first.okClicks, 1);

        const BoxSeen second = open(pressEscape);
        QVERIFY(second.shown);
        QVERIFY(!second.box->isVisible());
        QCOMPARE(second.okClicks, 1);
        QCOMPARE(second.box, first.box);
        QCOMPARE(m_main->findChildren<frmAbout *>().size(), 1);

        for (const BoxSeen *seen : {&first, &second}) {
            QCOMPARE(seen->owner, m_main.get());
            QVERIFY(seen->modal);
            QCOMPARE(seen->title, QStringLiteral("Version Info of TAVO Starter"));
            QCOMPARE(seen->version, QStringLiteral("Version 1.2.2"));
            QCOMPARE(seen->appTitle, QStringLiteral("TAVO_Starter"));
            QCOMPARE(seen->disclaimer, QStringLiteral("Warning: ..."));
            QCOMPARE(seen->ok, QStringLiteral("OK"));
            QCOMPARE(seen->sysInfo, QStringLiteral("&System Info..."));
            QCOMPARE(seen->focus, static_cast<QWidget *>(seen->box->cmdOK));
        }
        // explanation, blank line, organisation, blank line, author, contact.
        const QStringList lines = second.description.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("explanation"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[3], QString());
        for (int i : {2, 4, 5}) {
            QVERIFY2(lines[i].startsWith(QLatin1String("   ")) && lines[i].size() > 3
                         && lines[i][3] != QLatin1Char(' '),
                     qPrintable(lines[i]));
        }
        QVERIFY(lines[5].contains(QLatin1Char('@')));
        QCOMPARE(second.description, first.description);
    }

    void japaneseTexts()
    {
        core::setCurrentLanguage(core::Language::Japanese);
        const BoxSeen seen = open(pressEscape);
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("TAVO Starter のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(seen.version, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.2"));
        QCOMPARE(seen.appTitle, QStringLiteral("TAVO_Starter"));
        QCOMPARE(seen.disclaimer, QStringLiteral("警告: ..."));
        QCOMPARE(seen.ok, QStringLiteral("OK"));
        QCOMPARE(seen.sysInfo, QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        QVERIFY(seen.description.startsWith(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明\r\n\r\n   ")));
    }

    // Enter presses OK wherever the focus is, except on the other button.
    void enterFromTheIcon()
    {
        const BoxSeen seen = open([](frmAbout *box) {
            box->picIcon->setFocus();
            QTest::keyClick(box->picIcon, Qt::Key_Return);
        });
        QVERIFY(seen.shown);
        QCOMPARE(seen.okClicks, 1);
        QVERIFY(!seen.box->isVisible());
    }

    // Size, a few positions and the tab order, in twips at the box's dpi.
    void layoutAndTabOrder()
    {
        frmAbout box(m_main.get());
        box.Form_Load();
        const double tpp = 1440.0 / box.logicalDpiX();
        auto twips = [tpp](int px) { return qRound(px * tpp); };
        // The description gets the height its six lines need; what lies
        // below it moves down and the box grows by as much.
        const int room = twips(box.lblDescription->height()) - 1170;
        QVERIFY(room >= 0);
        QVERIFY(qAbs(twips(box.width()) - 5865) <= 15);
        QVERIFY(qAbs(twips(box.height()) - 3630 - room) <= 15);
        QVERIFY(qAbs(twips(box.cmdOK->x()) - 4245) <= 15);
        QVERIFY(qAbs(twips(box.cmdOK->y()) - 2625 - room) <= 15);
        QVERIFY(qAbs(twips(box.cmdSysInfo->y()) - 3075 - room) <= 15);
        QVERIFY(qAbs(twips(box.lblDisclaimer->y()) - 2625 - room) <= 15);
        QVERIFY(qAbs(twips(box.lblDescription->y()) - 1080) <= 15);
        QVERIFY(qAbs(twips(box.lblVersion->y()) - 780) <= 15);
        QCOMPARE(box.findChildren<QWidget *>(QStringLiteral("Line1")).size(), 2);
        QVERIFY(!box.picIcon->pixmap().isNull());
        QCOMPARE(box.picIcon->pixmap().size(), QSize(32, 32));

        QCOMPARE(box.cmdOK->nextInFocusChain(), static_cast<QWidget *>(box.cmdSysInfo));
        QCOMPARE(box.cmdSysInfo->nextInFocusChain(), static_cast<QWidget *>(box.picIcon));
        // The window offers neither minimise nor maximise.
        QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    // Closing the main window while the box is open unloads the box first.
    void mainUnloadClosesTheBox()
    {
        QStringList steps;
        connect(m_main.get(), &frmMain::unloadStep, this, [&steps](const QString &s) { steps << s; });
        const BoxSeen seen = open([this](frmAbout *) { m_main->close(); });
        QVERIFY(seen.shown);
        QVERIFY(!seen.box->isVisible());
        QVERIFY(!seen.box->isLoaded());
        QCOMPARE(steps.value(0), QStringLiteral("SaveWorkspace"));
        QCOMPARE(steps.value(1), QStringLiteral("frmAbout"));
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
