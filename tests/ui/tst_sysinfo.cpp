#include "core/SysInfo.h"
#include "ui/frmAbout.h"
#include "core/StringTable.h"
#include "platform/Process.h"
#include "platform/SystemInfo.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <map>

namespace {

const QString kInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// A registry of the test's own: values by "key|name"; a value of nullopt
// exists with a type the reader does not decode (read succeeds, value kept).
struct FakeRegistry {
    std::map<QString, std::optional<QString>> values;
    QStringList reads;
    QStringList fileTests;
    QStringList starts;
    bool startSucceeds = true;

    core::SysInfoAccess access()
    {
        core::SysInfoAccess a;
        a.getKeyValue = [this](std::uint32_t root, const QString &key, const QString &name,
                               QString &value) {
            reads << key + QLatin1Char('|') + name;
            const auto it = values.find(key + QLatin1Char('|') + name);
            if (root != platform::kHkeyLocalMachine || it == values.end()) {
                value.clear();
                return false;
            }
            if (it->second)
                value = *it->second;
            return true;
        };
        a.isPlainFile = [this](const QString &path) {
            fileTests << path;
            return platform::isPlainFile(path);
        };
        a.start = [this](const QString &line) {
            starts << line;
            return startSucceeds && !line.isEmpty();
        };
        return a;
    }
};

struct MessageSeen {
    bool shown = false;
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
};

void answerMessageBox(MessageSeen *seen)
{
    whenModalShows<QMessageBox>(
        [=](QMessageBox *box) {
            seen->shown = true;
            seen->text = box->text();
            seen->title = box->windowTitle();
            seen->buttons = box->standardButtons();
            box->accept();
        },
        50);
}

#ifndef Q_OS_WIN
void writeScript(const QString &path, const QString &body)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
#endif

} // namespace

class TestSysInfo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_path;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = qgetenv("PATH");
        core::setCurrentLanguage(core::Language::English);
    }

    void cleanup() { qputenv("PATH", m_path); }

    void locationsInOrder_data()
    {
        QDir().mkpath(m_dir.path() + QStringLiteral("/withexe"));
        QFile exe(m_dir.path() + QStringLiteral("/withexe/MSINFO32.EXE"));
        QVERIFY(exe.open(QIODevice::WriteOnly));
        exe.close();
        QDir().mkpath(m_dir.path() + QStringLiteral("/dironly/MSINFO32.EXE"));
        QDir().mkpath(m_dir.path() + QStringLiteral("/empty"));
        const QString withExe = QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/withexe"));
        const QString dirOnly = QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/dironly"));
        const QString empty = QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/empty"));

        QTest::addColumn<std::optional<QString>>("first");   // absent when not set
        QTest::addColumn<bool>("firstExists");
        QTest::addColumn<std::optional<QString>>("second");
        QTest::addColumn<bool>("secondExists");
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<QStringList>("reads");
        QTest::addColumn<QStringList>("fileTests");
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<bool>("started");

        const QString r1 = kInfoKey + QStringLiteral("|PATH");
        const QString r2 = kLocationKey + QStringLiteral("|MSINFO");
        const std::optional<QString> none;
        const QString exePath = withExe + QStringLiteral("\\MSINFO32.EXE");

        QTest::newRow("first location wins, second not read")
            << std::optional<QString>(QStringLiteral("C:\\info\\msinfo32.exe")) << true
            << std::optional<QString>(withExe) << true << true << QStringList{r1} << QStringList{}
            << QStringList{"C:\\info\\msinfo32.exe"} << true;
        QTest::newRow("first of another type: empty start, no second read")
            << none << true << std::optional<QString>(withExe) << true << true << QStringList{r1}
            << QStringList{} << QStringList{QString()} << false;
        QTest::newRow("first names a program that does not start")
            << std::optional<QString>(QStringLiteral("C:\\nowhere\\msinfo32.exe")) << true << none
            << false << false << QStringList{r1} << QStringList{}
            << QStringList{"C:\\nowhere\\msinfo32.exe"} << false;
        QTest::newRow("second location with the program")
            << none << false << std::optional<QString>(withExe) << true << true
            << QStringList{r1, r2} << QStringList{exePath} << QStringList{exePath} << true;
        QTest::newRow("second location: a folder of that name does not count")
            << none << false << std::optional<QString>(dirOnly) << true << true
            << QStringList{r1, r2} << QStringList{dirOnly + "\\MSINFO32.EXE"} << QStringList{}
            << false;
        QTest::newRow("second location without the program")
            << none << false << std::optional<QString>(empty) << true << true
            << QStringList{r1, r2} << QStringList{empty + "\\MSINFO32.EXE"} << QStringList{} << false;
        QTest::newRow("neither location")
            << none << false << none << false << true << QStringList{r1, r2} << QStringList{}
            << QStringList{} << false;
    }

    void locationsInOrder()
    {
        QFETCH(std::optional<QString>, first);
        QFETCH(bool, firstExists);
        QFETCH(std::optional<QString>, second);
        QFETCH(bool, secondExists);
        QFETCH(bool, startSucceeds);
        QFETCH(QStringList, reads);
        QFETCH(QStringList, fileTests);
        QFETCH(QStringList, starts);
        QFETCH(bool, started);

        FakeRegistry registry;
        if (firstExists)
            registry.values[kInfoKey + QStringLiteral("|PATH")] = first;
        if (secondExists)
            registry.values[kLocationKey + QStringLiteral("|MSINFO")] = second;
        registry.startSucceeds = startSucceeds;
        QCOMPARE(core::startSysInfo(registry.access()), started);
        QCOMPARE(registry.reads, reads);
        QCOMPARE(registry.fileTests, fileTests);
        QCOMPARE(registry.starts, starts);
    }

    // The button: a message box when nothing starts, the About box staying
    // open; nothing said when the program starts.
    void buttonInTheAboutBox()
    {
        frmAbout box;
        box.Form_Load();
        box.show();
        FakeRegistry registry;
        box.setSysInfoAccess(registry.access());

        MessageSeen seen;
        answerMessageBox(&seen);
        box.cmdSysInfo->click();
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("System information is not available at this time"));
        QCOMPARE(seen.title, QStringLiteral("TAVO_Starter"));
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(box.isVisible());
        QVERIFY(box.isLoaded());
        // The user's language, as every other text of the program.
        core::setCurrentLanguage(core::Language::Japanese);
        MessageSeen japanese;
        answerMessageBox(&japanese);
        box.cmdSysInfo->click();
        core::setCurrentLanguage(core::Language::English);
        QCOMPARE(japanese.text, QString::fromUtf8("現時点ではｼｽﾃﾑ情報を使用できません"));

        registry.values[kInfoKey + QStringLiteral("|PATH")] = QStringLiteral("C:\\x\\msinfo32.exe");
        MessageSeen none;
        answerMessageBox(&none);
        box.cmdSysInfo->click();
        QTest::qWait(100);
        QVERIFY(!none.shown);
        QCOMPARE(registry.starts.last(), QStringLiteral("C:\\x\\msinfo32.exe"));
    }

    void plainFileTest()
    {
        const QString base = m_dir.path() + QStringLiteral("/plain");
        QDir().mkpath(base + QStringLiteral("/folder"));
        for (const char *name : {"/file.exe", "/.hidden"}) {
            QFile f(base + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString native = QDir::toNativeSeparators(base);
        QVERIFY(platform::isPlainFile(native + QStringLiteral("\\file.exe")));
        QVERIFY(!platform::isPlainFile(native + QStringLiteral("\\folder")));
        QVERIFY(!platform::isPlainFile(native + QStringLiteral("\\missing.exe")));
        QVERIFY(!platform::isPlainFile(QString()));
#ifndef Q_OS_WIN
        QVERIFY(!platform::isPlainFile(native + QStringLiteral("\\.hidden")));
#endif
    }

#ifndef Q_OS_WIN
    // Without a registry the first location names a system-information
    // program found on the PATH; the second never exists.
    void systemInfoProgramOnPath()
    {
        const QString bin = m_dir.path() + QStringLiteral("/bin one");
        QDir().mkpath(bin);
        qputenv("PATH", QFile::encodeName(bin));

        QString value = QStringLiteral("came in");
        QVERIFY(!platform::getKeyValue(platform::kHkeyLocalMachine, kInfoKey, "PATH", value));
        QCOMPARE(value, QString());

        const QString marker = m_dir.path() + QStringLiteral("/started");
        const QString program = platform::systemInfoPrograms().value(1);
        QVERIFY(!program.isEmpty());
        writeScript(bin + QLatin1Char('/') + program,
                    QStringLiteral("echo \"$0\" > '%1'").arg(marker));

        QVERIFY(platform::getKeyValue(platform::kHkeyLocalMachine, kInfoKey.toLower(), "path", value));
        QCOMPARE(value, bin + QLatin1Char('/') + program);
        value = QStringLiteral("came in");
        QVERIFY(!platform::getKeyValue(platform::kHkeyLocalMachine, kLocationKey, "MSINFO", value));
        QCOMPARE(value, QString());
        QVERIFY(!platform::getKeyValue(0x80000001u, kInfoKey, "PATH", value));

        // The whole way through: the program is started.
        QVERIFY(core::startSysInfo(core::systemSysInfoAccess()));
        auto started = [&marker] {
            QFile f(marker);
            return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()).trimmed() : QString();
        };
        QTRY_COMPARE(started(), bin + QLatin1Char('/') + program);

        qputenv("PATH", QByteArray("/nonexistent-dir-for-tests"));
        QVERIFY(!core::startSysInfo(core::systemSysInfoAccess()));
    }

    // Help: the default opener gets the page's path as one argument, blanks
    // and all, whether or not the page exists; without an opener nothing
    // happens and nothing is said.
    void helpLauncher()
    {
        const QString kit = m_dir.path() + QStringLiteral("/my kit");
        QDir().mkpath(kit + QStringLiteral("/src"));
        const QString bin = m_dir.path() + QStringLiteral("/openerbin");
        QDir().mkpath(bin);
        const QString log = m_dir.path() + QStringLiteral("/opened.txt");
        writeScript(bin + QStringLiteral("/xdg-open"),
                    QStringLiteral("printf '%s|' \"$#\" \"$@\" > '%1'").arg(log));
        const QString ini = m_dir.path() + QStringLiteral("/placement.ini");
        frmMain main(kit, [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); });

        qputenv("PATH", QFile::encodeName(bin));
        main.mnuBlockEditorHelp->trigger();
        auto opened = [&log] {
            QFile f(log);
            return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
        };
        QTRY_COMPARE(opened(), QStringLiteral("1|%1/doc/tavo/BlockEditor.html|").arg(kit));

        QFile::remove(log);
        qputenv("PATH", QByteArray("/nonexistent-dir-for-tests"));
        main.mnuBlockEditorHelp->trigger();
        QTest::qWait(200);
        QVERIFY(!QFile::exists(log));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(main.statusText(), QString());
    }
#endif

#ifdef Q_OS_WIN
    // The registry names the program in a folder with blanks, as the
    // system's own "Program Files" is; a program where the first blank is
    // must not be the one that starts. The help's browser goes the same way,
    // the page after it unquoted.
    void programPathWithBlanks()
    {
        const QString root = QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/blanks"));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/Program Files/Common Files")));
        const QString decoy = root + QStringLiteral("\\Program");
        const QString program = root + QStringLiteral("\\Program Files\\Common Files\\msinfo32");
        QVERIFY(installStandIn(decoy));
        QVERIFY(installStandIn(program));
        const QString key = QStringLiteral("HKLM\\") + kInfoKey;
        QCOMPARE(QProcess::execute(QStringLiteral("reg.exe"),
                                   {"add", key, "/v", "PATH", "/t", "REG_SZ", "/d", program + ".exe", "/f"}),
                 0);
        const bool started = core::startSysInfo(core::systemSysInfoAccess());
        QProcess::execute(QStringLiteral("reg.exe"), {"delete", key, "/f"});
        QVERIFY(started);
        QTRY_COMPARE_WITH_TIMEOUT(readStandInRecord(program).size(), 1, 60000);

        QFile::remove(program + QStringLiteral(".rec"));
        QVERIFY(platform::startProgram(program + QStringLiteral(".exe"),
                                       QStringLiteral("C:\\my kit\\doc\\tavo\\BlockEditor.html")));
        QTRY_COMPARE_WITH_TIMEOUT(readStandInRecord(program).mid(1),
                                  QStringList({"C:\\my", "kit\\doc\\tavo\\BlockEditor.html"}), 60000);
        QVERIFY(!QFile::exists(decoy + QStringLiteral(".rec")));
    }
#endif

    // The Windows browser and the page it is given.
    void browserLine()
    {
        QCOMPARE(platform::browserProgram(), QStringLiteral("c:\\program files\\Internet Explorer\\IEXPLORE.EXE"));
        QCOMPARE(core::Kit(QStringLiteral("C:\\my kit")).helpPage(),
                 QStringLiteral("C:\\my kit\\doc\\tavo\\BlockEditor.html"));
    }
};

QTEST_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
