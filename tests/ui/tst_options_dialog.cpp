#include "ui/LocalizeForm.h"
#include "core/StringTable.h"
#include "ui/OptionsWindow.h"
#include "core/SettingsFile.h"
#include "ui/frmOptions.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>


class tst_options_dialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_kit;
    QWidget m_owner;

    QString diskPath() const { return m_kit.path() + QStringLiteral("/TAVO_Starter.ini"); }
    QByteArray readFile() const
    {
        QFile f(diskPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    core::Settings fileValues() const
    {
        core::Settings v;
        core::readSettingsFile(core::Kit(m_kit.path()).settingsFile(), v);
        return v;
    }
    void saveFile(const QString &key, const QString &value)
    {
        core::Settings v;
        v.setValue(key, value);
        QVERIFY(core::writeSettingsFile(core::Kit(m_kit.path()).settingsFile(), v));
    }

    // Opens the dialog from the menu and lets drive act on it while it runs
    // modally. A watchdog ends a dialog that the test failed to close.
    bool runModal(OptionsWindow &window, const std::function<void(frmOptions *)> &drive)
    {
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *form = qobject_cast<frmOptions *>(QApplication::activeModalWidget())) {
                driven = true;
                drive(form);
            }
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        bool hung = false;
        connect(&watchdog, &QTimer::timeout, this, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                hung = true;
                dialog->reject();
            }
        });
        watchdog.start(10000);
        window.showModal();
        return driven && !hung;
    }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    int px(const QWidget &w, int twips) const { return qRound(twips * w.logicalDpiX() / 1440.0); }

private slots:
    void init()
    {
        QFile::remove(diskPath());
        core::setCurrentLanguage(core::Language::English);
    }
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void createdOnFirstUseWithoutShowing()
    {
        saveFile(core::kCompiler, QStringLiteral("filejc"));
        {
            OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
            QVERIFY(!window.isLoaded());
            QVERIFY(!window.form());
            QCOMPARE(window.settings().value(core::kCompiler), QStringLiteral("filejc"));
            QVERIFY(window.isLoaded());
            QVERIFY(!window.form()->isVisible());
            QCOMPARE(window.form()->parentWidget(), &m_owner);
            QCOMPARE(window.settings().value(QStringLiteral("nosuchkey")), QString());
        }
        {
            // A write creates the state too, and the file is read before it.
            OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
            window.setValue(core::kCP, QStringLiteral("imported"));
            QVERIFY(window.isLoaded());
            QCOMPARE(window.settings().value(core::kCompiler), QStringLiteral("filejc"));
            QCOMPARE(window.settings().value(core::kCP), QStringLiteral("imported"));
            window.unload();
            QVERIFY(!window.isLoaded());
            QCOMPARE(window.settings().value(core::kCP), core::Settings::defaultValue(core::kCP));
        }
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void layoutAndTexts()
    {
        frmOptions form(core::Kit(m_kit.path()));
        QCOMPARE(form.objectName(), QStringLiteral("frmOptions"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Option"));
        QCOMPARE(form.property(ui::kTagProperty).toString(), QStringLiteral("1006"));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.height(), px(form, 3240));

        QCOMPARE(form.SSTab->objectName(), QStringLiteral("SSTab"));
        QCOMPARE(form.SSTab->count(), 3);
        QCOMPARE(form.SSTab->tabText(0), QStringLiteral("Editor"));
        QCOMPARE(form.SSTab->tabText(1), QStringLiteral("Compiler"));
        QCOMPARE(form.SSTab->tabText(2), QStringLiteral("Properties"));
        QCOMPARE(form.SSTab->currentIndex(), 0);

        const QList<std::pair<QString, QString>> labels = {
            {"lblJREpath", "JREpath"},   {"lblLibpath", "libpath"},          {"lblDT_package", "dt-packages"},
            {"lblCompiler", "Compiler"}, {"lblCP", "CP"},                    {"lblClassDirectory", "*.class dir"},
            {"lblJavapath", "javapath"}, {"lblOrganization", "Organization"}, {"lblAuthor", "Author"}};
        for (const auto &[name, text] : labels) {
            auto *label = form.findChild<QLabel *>(name);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), text);
        }
        const QString properties = QStringLiteral("Properties used in TAVO.");
        const QList<std::tuple<QString, QString, QString>> fields = {
            {"txtJREpath", core::kJREpath,
             "The path from the directory containing the batch file to the Java Runtime Environment (JRE) executable."},
            {"txtLibpath", core::kLibpath,
             "A semicolon-delimited list of paths to the runtime classes such as compiled function block types, "
             "device types and resource types."},
            {"txtDT_package", core::kDtPackages,
             "A semicolon-delimited list of hierarchical package names below the root fb.rt package to be searched "
             "to find the appropriate runtime classes of the specified data types."},
            {"txtJavapath", core::kJavapath,
             "The path from the directory containing the batch file to the default directory for storing generated "
             "Java source files."},
            {"txtCP", core::kCP, ""},
            {"txtCompiler", core::kCompiler, ""},
            {"txtClassDirectory", core::kClassDirectory, ""},
            {"txtOrganization", core::kOrganization, properties},
            {"txtAuthor", core::kAuthor, properties}};
        for (const auto &[name, key, tip] : fields) {
            auto *edit = form.findChild<QLineEdit *>(name);
            QVERIFY2(edit, qPrintable(name));
            QCOMPARE(form.field(key), edit);
            QCOMPARE(edit->text(), core::Settings::defaultValue(key));
            QCOMPARE(edit->toolTip(), tip);
        }

        QCOMPARE(form.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(form.cmdCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(form.cmdApply->text(), QStringLiteral("&Apply"));
        QVERIFY(form.cmdOK->isDefault());

        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.lblJREpath->isVisible());
        QVERIFY(form.txtLibpath->isVisible());
        QVERIFY(!form.lblDT_package->isVisible());
        QVERIFY(!form.txtDT_package->isVisible());
        QVERIFY(!form.txtCompiler->isVisible());
        QVERIFY(!form.txtAuthor->isVisible());

        // Controls on the tabs are placed from the tab control's corner.
        auto fromTab = [&](QWidget *w) {
            return QRect(w->mapTo(&form, QPoint()) - form.SSTab->mapTo(&form, QPoint()), w->size());
        };
        // Where a label needs more room than the designed column, the fields
        // move right by as much as the tab control and the dialog grow, the
        // fields and the buttons keeping their sizes and the right margin.
        const int room = fromTab(form.txtLibpath).x() - px(form, 1320);
        QVERIFY(room >= 0);
        QCOMPARE(form.width(), px(form, 6270) + room);
        QCOMPARE(form.SSTab->geometry(), QRect(px(form, 120), px(form, 120), px(form, 6045) + room, px(form, 2580)));
        QCOMPARE(fromTab(form.lblJREpath).topLeft(), QPoint(px(form, 240), px(form, 600)));
        QCOMPARE(fromTab(form.txtLibpath), QRect(px(form, 1320) + room, px(form, 1080), px(form, 4575), px(form, 270)));
        form.SSTab->setCurrentIndex(1);
        QVERIFY(form.txtCompiler->isVisible());
        QVERIFY(!form.txtJREpath->isVisible());
        QVERIFY(!form.txtDT_package->isVisible());
        QCOMPARE(fromTab(form.txtJavapath), QRect(px(form, 1320) + room, px(form, 2040), px(form, 4575), px(form, 270)));
        QCOMPARE(form.cmdApply->geometry(),
                 QRect(px(form, 5040) + room, px(form, 2760), px(form, 1095), px(form, 375)));
    }

    void japaneseCaptions()
    {
        core::setCurrentLanguage(core::Language::Japanese);
        frmOptions form(core::Kit(m_kit.path()));
        QCOMPARE(form.windowTitle(), QString::fromUtf8("ｵﾌﾟｼｮﾝ"));
        QCOMPARE(form.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(form.cmdCancel->text(), QString::fromUtf8("ｷｬﾝｾﾙ"));
        QCOMPARE(form.cmdApply->text(), QString::fromUtf8("適用(&A)"));
        // Labels and tabs carry no ids.
        QCOMPARE(form.lblClassDirectory->text(), QStringLiteral("*.class dir"));
        QCOMPARE(form.SSTab->tabText(2), QStringLiteral("Properties"));
    }

    // Tab walks the visible controls in the designed order.
    void focusOrder()
    {
        frmOptions form(core::Kit(m_kit.path()));
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto walk = [&](QWidget *start, int steps) {
            start->setFocus();
            QStringList seen{QApplication::focusWidget()->objectName()};
            for (int i = 0; i < steps; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget *w = QApplication::focusWidget();
                seen << (w == form.SSTab->tabBar() ? QStringLiteral("SSTab") : w->objectName());
            }
            return seen;
        };
        QCOMPARE(walk(form.txtJREpath, 6),
                 (QStringList{"txtJREpath", "txtLibpath", "cmdOK", "cmdCancel", "cmdApply", "SSTab", "txtJREpath"}));
        form.SSTab->setCurrentIndex(1);
        QCOMPARE(walk(form.txtCompiler, 8), (QStringList{"txtCompiler", "txtCP", "txtClassDirectory", "cmdOK",
                                                         "cmdCancel", "cmdApply", "SSTab", "txtJavapath",
                                                         "txtCompiler"}));
        form.SSTab->setCurrentIndex(2);
        QCOMPARE(walk(form.txtOrganization, 2), (QStringList{"txtOrganization", "txtAuthor", "cmdOK"}));
    }

    void escapeDiscardsEdits()
    {
        saveFile(core::kCompiler, QStringLiteral("filejc"));
        const QByteArray before = readFile();
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        QVERIFY(runModal(window, [&](frmOptions *form) {
            QCOMPARE(form->parentWidget(), &m_owner);
            QVERIFY(form->isModal());
            QCOMPARE(form->SSTab->currentIndex(), 0);
            form->SSTab->setCurrentIndex(1);
            QCOMPARE(form->txtCompiler->text(), QStringLiteral("filejc"));
            typeInto(form->txtCompiler, QStringLiteral("typed"));
            QCOMPARE(form->txtCompiler->text(), QStringLiteral("typed"));
            QTest::keyClick(form->txtCompiler, Qt::Key_Escape);
        }));
        QVERIFY(!window.isLoaded());
        QCOMPARE(readFile(), before);
        QCOMPARE(window.settings().value(core::kCompiler), QStringLiteral("filejc"));
    }

    void closeBoxDiscardsEdits()
    {
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        QVERIFY(runModal(window, [&](frmOptions *form) {
            typeInto(form->txtJREpath, QStringLiteral("typed"));
            form->close();
        }));
        QVERIFY(!window.isLoaded());
        QCOMPARE(readFile(), QByteArray("<missing>"));
        QCOMPARE(window.settings().value(core::kJREpath), core::Settings::defaultValue(core::kJREpath));
    }

    void applyKeepsDialogThenCancel()
    {
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        QVERIFY(runModal(window, [&](frmOptions *form) {
            form->SSTab->setCurrentIndex(1);
            typeInto(form->txtCompiler, QStringLiteral("applied"));
            QTest::mouseClick(form->cmdApply, Qt::LeftButton);
            QVERIFY(form->isVisible());
            QCOMPARE(form->SSTab->currentIndex(), 1);
            QCOMPARE(fileValues().value(core::kCompiler), QStringLiteral("applied"));
            typeInto(form->txtCompiler, QStringLiteral("after apply"));
            QTest::keyClick(form->txtCompiler, Qt::Key_Escape);
        }));
        QVERIFY(!window.isLoaded());
        QCOMPARE(fileValues().value(core::kCompiler), QStringLiteral("applied"));
        QVERIFY(runModal(window, [&](frmOptions *form) {
            QCOMPARE(form->SSTab->currentIndex(), 0);
            QCOMPARE(form->txtCompiler->text(), QStringLiteral("applied"));
            QTest::keyClick(form->txtCompiler, Qt::Key_Escape);
        }));
    }

    void enterSavesAndCloses()
    {
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        QVERIFY(runModal(window, [&](frmOptions *form) {
            form->SSTab->setCurrentIndex(2);
            typeInto(form->txtAuthor, QStringLiteral("me & <you>"));
            QTest::keyClick(form->txtAuthor, Qt::Key_Return);
        }));
        QVERIFY(!window.isLoaded());
        core::Settings want;
        want.setValue(core::kAuthor, QStringLiteral("me & <you>"));
        QCOMPARE(fileValues(), want);
        QCOMPARE(window.settings().value(core::kAuthor), QStringLiteral("me & <you>"));
    }

    // A save that fails says so, and OK keeps the dialog with the edits
    // rather than throwing them away; Cancel still discards them.
    void okKeepsEditsWhenSaveFails()
    {
        QStringList reports;
        OptionsWindow window(core::Kit(m_kit.path() + QStringLiteral("\\no\\such\\folder")), &m_owner,
                             [&](const QString &t) { reports << t; });
        QVERIFY(runModal(window, [&](frmOptions *form) {
            typeInto(form->txtJREpath, QStringLiteral("kept"));
            QTest::mouseClick(form->cmdOK, Qt::LeftButton);
            QVERIFY(form->isVisible());
            QCOMPARE(form->txtJREpath->text(), QStringLiteral("kept"));
            form->cmdCancel->click();
        }));
        QCOMPARE(reports, QStringList{"TAVO_Starter.ini could not be saved; the file is as it was"});
        QVERIFY(!window.isLoaded());
        QCOMPARE(window.settings().value(core::kJREpath), core::Settings::defaultValue(core::kJREpath));
    }

    // After an import the dialog is open without blocking; the menu entry
    // must neither close it nor reload it.
    void menuWhileModelessKeepsValues()
    {
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        window.setValue(core::kCompiler, QStringLiteral("imported"));
        window.showModeless(1);
        frmOptions *form = window.form();
        QVERIFY(form && form->isVisible());
        QVERIFY(!form->isModal());
        QCOMPARE(form->SSTab->currentIndex(), 1);

        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, form, &QDialog::reject);
        watchdog.start(5000);
        window.showModal();
        QVERIFY(watchdog.isActive()); // returned at once, not after the watchdog
        QCOMPARE(window.form(), form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->SSTab->currentIndex(), 1);
        QCOMPARE(window.settings().value(core::kCompiler), QStringLiteral("imported"));

        window.showModeless(0);
        QCOMPARE(window.form(), form);
        QCOMPARE(form->SSTab->currentIndex(), 0);
        form->close();
        QVERIFY(!window.isLoaded());
        QCOMPARE(window.settings().value(core::kCompiler), core::Settings::defaultValue(core::kCompiler));
    }

    void valuesKeptVerbatimInFields()
    {
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        const QString odd = QStringLiteral(" a\tb\r\nc\n\"d\" ");
        const QString longValue = QString(100000, QLatin1Char('z'));
        window.setValue(core::kJREpath, odd);
        window.setValue(core::kCP, longValue);
        QCOMPARE(window.settings().value(core::kJREpath), odd);
        QCOMPARE(window.settings().value(core::kCP), longValue);
        window.form()->cmdApply->click();
        QCOMPARE(fileValues().value(core::kJREpath), odd);
        QCOMPARE(fileValues().value(core::kCP), longValue);
    }

    // A file that cannot be read (here a folder in its place, or broken
    // XML) shows the defaults, says so through the window's report, and is
    // replaced only when the user agrees; "No" keeps the file and the dialog.
    void unreadFileIsReportedAndKept_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("japanese");
        QTest::newRow("broken xml") << false << false;
        QTest::newRow("cannot be opened, japanese") << true << true;
    }
    void unreadFileIsReportedAndKept()
    {
        QFETCH(bool, folder);
        QFETCH(bool, japanese);
        core::setCurrentLanguage(japanese ? core::Language::Japanese : core::Language::English);
        const QByteArray broken = "<settings><Editor JREpath=\"a & b\"/></settings>\r\n";
        if (folder) {
            QVERIFY(QDir().mkdir(diskPath()));
        } else {
            QFile f(diskPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(broken);
        }
        auto keep = qScopeGuard([this] { QDir().rmdir(diskPath()); });
        QStringList reports;
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner, [&](const QString &t) { reports << t; });
        QCOMPARE(window.settings().value(core::kJREpath), core::Settings::defaultValue(core::kJREpath));
        const QString shown = QDir::toNativeSeparators(diskPath());
        QCOMPARE(reports, QStringList{japanese ? QStringLiteral("TAVO_Starter.ini を読み込めません。既定値を使用しています")
                                               : QStringLiteral("TAVO_Starter.ini cannot be read; the defaults are in use")});

        QStringList asked, buttons;
        auto answer = [&](QMessageBox::StandardButton button) {
            QTimer::singleShot(0, this, [&asked, &buttons, button] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    asked << box->text();
                    buttons = QStringList{box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text(),
                                          box->defaultButton()->text()};
                    box->button(button)->click();
                }
            });
        };
        window.setValue(core::kAuthor, QStringLiteral("me"));
        answer(QMessageBox::No);
        window.form()->cmdApply->click();
        answer(QMessageBox::No);
        window.form()->cmdOK->click();
        QCOMPARE(asked.size(), 2);
        QVERIFY2(asked[0].contains(shown), qPrintable(asked[0]));
        // The program's own question: its words, No the default.
        QCOMPARE(buttons, japanese ? QStringList({QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)"),
                                                  QString::fromUtf8("いいえ(&N)")})
                                   : QStringList({"&Yes", "&No", "&No"}));
        QVERIFY(window.isLoaded() && window.form()->result() == 0); // OK kept the dialog open
        QCOMPARE(QFileInfo(diskPath()).isDir(), folder);
        if (!folder)
            QCOMPARE(readFile(), broken);
        if (folder)
            return;
        answer(QMessageBox::Yes);
        window.form()->cmdOK->click();
        QVERIFY(!window.isLoaded());
        QCOMPARE(fileValues().value(core::kAuthor), QStringLiteral("me"));
    }

    void lineFormFileFillsFields()
    {
        QFile f(diskPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("jre,lib\r\n\"dt\"\r\n");
        f.close();
        OptionsWindow window(core::Kit(m_kit.path()), &m_owner);
        QCOMPARE(window.settings().value(core::kJREpath), QStringLiteral("jre"));
        QCOMPARE(window.settings().value(core::kLibpath), QStringLiteral("lib"));
        QCOMPARE(window.form()->txtDT_package->text(), QStringLiteral("dt"));
        QCOMPARE(window.settings().value(core::kJavapath), core::Settings::defaultValue(core::kJavapath));
        QCOMPARE(window.form()->cursor().shape(), Qt::ArrowCursor); // busy pointer restored
    }
};

QTEST_MAIN(tst_options_dialog)
#include "tst_options_dialog.moc"
