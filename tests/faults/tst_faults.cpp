#include "core/BatchFormat.h"
#include "core/CommandLines.h"
#include "core/KitCheck.h"
#include "core/SettingsFile.h"
#include "core/SourceScan.h"
#include "core/WorkspaceFile.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "ui/ListRows.h"
#include "ui/frmCompile.h"
#include "ui/frmMain.h"

#include "support/TestFiles.h"
#include "support/TestKit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <memory>
#include <iostream>
#include <string>

// A full disk and a kit folder that takes no new file are made with the
// system's own limits on a process; Windows has no such limits to set from
// outside, so those cases run on POSIX systems only.
#ifdef Q_OS_WIN
#include <windows.h>
#include <aclapi.h>
#endif
#ifdef Q_OS_UNIX
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------------------
// One program instance in a kit, driven line by line from standard input:
//   add TEXT       append an entry
//   fill N LABEL   replace the list by N entries LABEL-0.. and select the first
//   save           run SaveWorkspace and answer "saved"
//   saveloop N     run SaveWorkspace N times
//   settings N     save settings whose values are N characters long; answers
//                  "settings 1" or "settings 0"
//   compile        press Compile
//   check          run the kit check; answers "check " and the class
//                  folder's verdict
//   compilewait    press Compile and, once it has ended, answer with its end
//                  line ("ended ..."), its note ("note ...") and how many
//                  lines it shows ("lines N")
//   exit           File > Exit
// It prints "ready N" (N entries loaded) first and "closed" after Exit.
namespace {

int runInstance(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString kit = QString::fromLocal8Bit(argv[2]);
    const QString store = kit + QStringLiteral("/placement.ini");
    frmMain w(kit, [store] { return std::make_unique<QSettings>(store, QSettings::IniFormat); });
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.show();
    QCoreApplication::processEvents();
    std::cout << "ready " << w.lstsrcpath->count() << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        const QString command = QString::fromStdString(line);
        const QString word = command.section(QLatin1Char(' '), 0, 0);
        const QString rest = command.section(QLatin1Char(' '), 1);
        if (word == QLatin1String("add")) {
            w.lstsrcpath->addItem(rest);
        } else if (word == QLatin1String("fill")) {
            const int n = rest.section(QLatin1Char(' '), 0, 0).toInt();
            const QString label = rest.section(QLatin1Char(' '), 1);
            w.lstsrcpath->clear();
            for (int i = 0; i < n; ++i)
                w.lstsrcpath->addItem(QStringLiteral("%1-%2").arg(label).arg(i));
            ui::selectRow(w.lstsrcpath, 0);
        } else if (word == QLatin1String("save")) {
            w.SaveWorkspace();
            std::cout << "saved" << std::endl;
        } else if (word == QLatin1String("saveloop")) {
            for (int i = rest.toInt(); i > 0; --i)
                w.SaveWorkspace();
            std::cout << "saved" << std::endl;
        } else if (word == QLatin1String("settings")) {
            core::Settings values;
            values.setValue(core::kAuthor, QString(rest.toInt(), QLatin1Char('a')));
            const bool ok = core::writeSettingsFile(core::Kit(kit).settingsFile(), values);
            std::cout << "settings " << ok << std::endl;
        } else if (word == QLatin1String("check")) {
            const QList<core::KitFinding> findings =
                core::checkKit(core::Kit(kit), w.settings(), w.workspace(), core::LoadOutcome::Xml, false);
            for (const core::KitFinding &f : findings) {
                if (f.setting == core::kClassDirectory)
                    std::cout << "check " << core::verdictWord(f.verdict).toStdString() << std::endl;
            }
        } else if (word == QLatin1String("compile")) {
            w.cmdCompile->click();
            std::cout << "compiled" << std::endl;
        } else if (word == QLatin1String("compilewait")) {
            w.cmdCompile->click();
            auto *window = w.findChild<frmCompile *>();
            if (!QTest::qWaitFor([window] { return window && !window->isRunning(); }, 60000))
                std::cout << "still running" << std::endl;
            std::cout << "ended " << (window ? window->endText().toStdString() : "-") << std::endl;
            std::cout << "note " << (window ? window->lblNote->text().toStdString() : "-") << std::endl;
            std::cout << "lines " << (window ? window->shownLines().size() : 0) << std::endl;
        } else if (word == QLatin1String("exit")) {
            w.mnuFileExit->trigger();
            QCoreApplication::processEvents();
            std::cout << "closed" << std::endl;
            return w.isVisible() ? 3 : 0;
        }
    }
    return 2;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}


const QByteArray kPreviousDat =
    core::serializeWorkspace({{QStringLiteral("older"), QStringLiteral("older\\util")}, 1, QStringLiteral("Old.fbt")});

#ifdef Q_OS_UNIX
// Whom a test that needs permissions to count runs its instance as: root
// writes wherever it likes, so then an ordinary user.
struct Unprivileged {
    uid_t uid = geteuid();
    gid_t gid = getegid();
    Unprivileged()
    {
        if (uid == 0) {
            const passwd *nobody = getpwnam("nobody");
            uid = nobody ? nobody->pw_uid : 65534;
            gid = nobody ? nobody->pw_gid : 65534;
        }
    }
    // Hands a file or folder of the test to that user.
    bool own(const QString &path) const { return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0; }
    // The program that user runs: a copy of this test where any user
    // reaches it, since the build may lie in a folder only its owner may
    // enter (a root user's home).
    QString program() const
    {
        if (uid == geteuid())
            return QCoreApplication::applicationFilePath();
        if (!m_copy) {
            m_copy = std::make_unique<QTemporaryDir>();
            const QString copy = m_copy->filePath(QStringLiteral("tst_faults"));
            const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
            if (!QFile::copy(QCoreApplication::applicationFilePath(), copy) || !QFile::setPermissions(copy, open)
                || !QFile::setPermissions(m_copy->path(), open))
                qWarning("cannot copy the test where an ordinary user reaches it");
        }
        return m_copy->filePath(QStringLiteral("tst_faults"));
    }

private:
    mutable std::unique_ptr<QTemporaryDir> m_copy;
};
#else
struct Unprivileged {
    QString program() const { return QCoreApplication::applicationFilePath(); }
};
#endif

#ifdef Q_OS_WIN
// Grants the current user only these rights on a file or folder, as the
// access list of a locked-down install would; Wine turns it into the mode
// bits of the file.
bool grantOnly(const QString &path, DWORD rights)
{
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = rights;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    wchar_t currentUser[] = L"CURRENT_USER";
    access.Trustee.ptstrName = currentUser;
    PACL acl = nullptr;
    if (SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS)
        return false;
    // Set on the object alone, nothing inherited from the folder above (which
    // Wine would grant on top when asked through SetNamedSecurityInfo).
    SECURITY_DESCRIPTOR descriptor;
    const bool ok = InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
        && SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)
        && SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)
        && SetFileSecurityW(QDir::toNativeSeparators(path).toStdWString().c_str(), DACL_SECURITY_INFORMATION,
                            &descriptor);
    LocalFree(acl);
    return ok;
}
#endif

// A kit folder that takes no new file, its two files writable or read-only,
// handed to the user the instance runs as; the folder is opened again when
// this goes.
class LockedDown
{
public:
    LockedDown(const TestKit &kit, const Unprivileged &user, bool filesWritable) : m_kit(kit)
    {
#ifdef Q_OS_WIN
        Q_UNUSED(user);
        const DWORD fileRights = filesWritable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
        m_made = grantOnly(kit.dat(), fileRights) && grantOnly(kit.ini(), fileRights)
            && grantOnly(kit.path(), GENERIC_READ | GENERIC_EXECUTE);
#else
        const QFile::Permissions fileMode = filesWritable ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner;
        m_made = user.own(kit.dat()) && QFile::setPermissions(kit.dat(), fileMode) && user.own(kit.ini())
            && QFile::setPermissions(kit.ini(), fileMode) && user.own(kit.path())
            && QFile::setPermissions(kit.path(), QFile::ReadOwner | QFile::ExeOwner);
#endif
    }
    ~LockedDown()
    {
#ifdef Q_OS_WIN
        grantOnly(m_kit.path(), GENERIC_ALL);
        grantOnly(m_kit.dat(), GENERIC_ALL);
        grantOnly(m_kit.ini(), GENERIC_ALL);
#else
        QFile::setPermissions(m_kit.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    }
    bool made() const { return m_made; }
    // Whether the folder really refuses a new file to the instance's user:
    // on POSIX systems that user is an ordinary one; on Windows it is this
    // test's own, which may write anywhere under Wine run as root.
    bool holds() const
    {
#ifdef Q_OS_WIN
        QFile probe(m_kit.at(QStringLiteral("probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.close();
        probe.remove();
        return false;
#else
        return true;
#endif
    }

private:
    const TestKit &m_kit;
    bool m_made = false;
};

// Limits what the instance may write to any file, as a full disk or a folder
// it may not write to would. The signal a process gets past the limit is
// ignored, so writes fail with an error as they would on a full disk.
class Instance
{
public:
    explicit Instance(const QString &kit, qint64 fileSizeLimit = -1, const Unprivileged *user = nullptr)
    {
#ifdef Q_OS_UNIX
        m_process.setChildProcessModifier([fileSizeLimit, user] {
            if (fileSizeLimit >= 0) {
                struct rlimit limit;
                limit.rlim_cur = limit.rlim_max = rlim_t(fileSizeLimit);
                setrlimit(RLIMIT_FSIZE, &limit);
                std::signal(SIGXFSZ, SIG_IGN);
            }
            if (user && geteuid() != user->uid) {
                setgroups(0, nullptr);
                if (setgid(user->gid) != 0 || setuid(user->uid) != 0)
                    _exit(4);
            }
        });
#else
        Q_UNUSED(user);
        Q_ASSERT(fileSizeLimit < 0);
#endif
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(user ? user->program() : QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--instance"), kit});
    }
    ~Instance()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The next line the instance prints.
    QString expectLine(int timeoutMs = 30000)
    {
        QElapsedTimer t;
        t.start();
        while (!m_process.canReadLine() && t.elapsed() < timeoutMs && m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(100);
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    void send(const QByteArray &command) { m_process.write(command + '\n'); }
    // Exit through the menu; true when the process then ended by itself with
    // exit code 0.
    bool exitCleanly(int timeoutMs = 30000)
    {
        send("exit");
        const QString line = expectLine(timeoutMs);
        if (line != QLatin1String("closed")) {
            qWarning("instance answered \"%s\" to exit", qPrintable(line));
            return false;
        }
        m_process.closeWriteChannel();
        // It may have ended already, while its last line was read.
        const bool ended = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
        if (!ended || m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0) {
            qWarning("instance ended: %d, status %d, code 0x%x", ended, int(m_process.exitStatus()),
                     unsigned(m_process.exitCode()));
            return false;
        }
        return true;
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

// A small file system of the test's own, which the test fills: on POSIX
// systems a tmpfs it mounts (which takes root), under Wine a folder on one
// that the Windows stage mounted and names in TAVO_SMALL_DISK. path() is
// an empty folder on it for a kit; what fills the disk lies beside it.
class SmallDisk
{
public:
    SmallDisk()
    {
#ifdef Q_OS_WIN
        const QString given = QDir::fromNativeSeparators(qEnvironmentVariable("TAVO_SMALL_DISK"));
        if (given.isEmpty()) {
            m_unavailable = "no small disk given in TAVO_SMALL_DISK (scripts/test.d/40-windows mounts one)";
            return;
        }
        m_scratch = std::make_unique<QTemporaryDir>(given + QStringLiteral("/disk-XXXXXX"));
        m_root = m_scratch->path();
#else
        if (geteuid() != 0) {
            m_unavailable = "mounting a small file system takes root";
            return;
        }
        m_scratch = std::make_unique<QTemporaryDir>();
        m_root = m_scratch->path();
        if (::mount("tmpfs", QFile::encodeName(m_root).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=512k,nr_inodes=64,mode=0777")
            != 0) {
            m_unavailable = "this system lets no tmpfs be mounted here";
            return;
        }
        m_mounted = true;
#endif
        QDir(m_root).mkdir(QStringLiteral("kit"));
        QDir(m_root).mkdir(QStringLiteral("filler"));
    }
    ~SmallDisk()
    {
#ifndef Q_OS_WIN
        if (m_mounted)
            ::umount2(QFile::encodeName(m_root).constData(), MNT_DETACH);
#endif
        // (Under Wine the folder goes with what filled it.)
    }
    const char *unavailable() const { return m_unavailable; }
    QString path() const { return m_root + QStringLiteral("/kit"); }

    // Takes every free block, or inode; true when the disk then refused one.
    bool fill(bool inodes)
    {
        const QByteArray chunk(4096, 'f');
        for (int i = 0; i < 4096; ++i) {
            QFile f(m_root + QStringLiteral("/filler/%1").arg(inodes ? i : 0));
            if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)
                || (!inodes && f.write(chunk) != chunk.size()))
                return true;
        }
        return false;
    }

private:
    const char *m_unavailable = nullptr;
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_root;
    bool m_mounted = false;
};

// ---------------------------------------------------------------------------
// The source tree as a set of entries, for the scan tests.
QSet<QString> treeEntries(const QString &root)
{
    QSet<QString> out;
    QStringList list;
    core::StringListSink sink(list);
    core::ScanSourceTree(root, sink);
    for (const QString &e : list)
        out.insert(e);
    return out;
}

void makeDirs(const QString &root, const QStringList &relative)
{
    for (const QString &r : relative)
        QVERIFY(QDir(root).mkpath(r));
}

// Changes the tree once the scan has appended a given number of entries.
class MutatingSink : public core::ScanSink
{
public:
    MutatingSink(QStringList &out, int after, std::function<void()> change)
        : m_out(out), m_after(after), m_change(std::move(change)) {}
    void append(const QString &entry) override
    {
        m_out.append(entry);
        if (m_out.size() == m_after)
            m_change();
    }

private:
    QStringList &m_out;
    int m_after;
    std::function<void()> m_change;
};

#ifdef Q_OS_UNIX
int zombieChildren()
{
    int count = 0;
    const QString self = QString::number(getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...: comm may hold blanks, so read after ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[0] == "Z" && fields[1] == self.toLatin1())
            ++count;
    }
    return count;
}

bool processAlive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return !line.mid(line.lastIndexOf(')') + 2).startsWith('Z');
}
#endif

#ifndef Q_OS_UNIX
const char kNoLimits[] = "made with POSIX limits on a process, which Windows has no equivalent of";
const char kNoScripts[] = "the tools are shell scripts watched through /proc";
#endif

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void exitWhenWritesAreRefused_data();
    void exitWhenWritesAreRefused();
    void lockedDownKit_data();
    void lockedDownKit();
    void classFolderAsTheSystemSays_data();
    void classFolderAsTheSystemSays();
    void settingsSaveOnFullDisk();
    void fullDiskLeavesEveryFileWhole_data();
    void fullDiskLeavesEveryFileWhole();
    void twoInstancesLastExitWins_data();
    void twoInstancesLastExitWins();
    void concurrentSavesNeverHalfWritten();
    void importedListSurvivesTheSave();
    void treeChangesDuringScan_data();
    void treeChangesDuringScan();
    void toolsThatEndAtOnceLeaveNoZombies();
    void toolThatNeverEndsDoesNotHoldTheProgram();
    void exitDuringCompile();
};

// Read-only kit folder and full disk alike: no byte reaches any file. The
// program still ends through File > Exit with code 0, the previous workspace
// file is intact and no half-written file is left beside it. The last row
// has room to write and shows that the save does happen when it can.
void TestFaults::exitWhenWritesAreRefused_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("saved");
    QTest::newRow("nothing may be written") << qint64(0) << 3 << false;
    QTest::newRow("disk full after one block") << qint64(512) << 256 << false;
    QTest::newRow("disk full near the end") << qint64(kPreviousDat.size() + 3000) << 256 << false;
    QTest::newRow("room enough") << qint64(1 << 20) << 256 << true;
}

void TestFaults::exitWhenWritesAreRefused()
{
#ifndef Q_OS_UNIX
    QSKIP(kNoLimits);
#else
    QFETCH(qint64, limit);
    QFETCH(int, entries);
    QFETCH(bool, saved);
    TestKit kit;
    writeAll(kit.dat(), kPreviousDat);
    const QStringList before = kit.programFiles();

    Instance instance(kit.path(), limit);
    QCOMPARE(instance.expectLine(), QStringLiteral("ready 2"));
    instance.send("fill " + QByteArray::number(entries) + " package-with-a-rather-long-name");
    QVERIFY(instance.exitCleanly());

    const QByteArray after = readAll(kit.dat());
    if (saved) {
        const core::WorkspaceContent c = core::parseWorkspace(after);
        QVERIFY(c.entries);
        QCOMPARE(c.entries->size(), entries);
        QCOMPARE(c.selectedText, QStringLiteral("package-with-a-rather-long-name-0"));
    } else {
        QCOMPARE(after, kPreviousDat);
        QCOMPARE(kit.programFiles(), before); // no temporary file stays behind
    }
#endif
}

// A kit folder that takes no new file: where its files may still be
// written, the workspace at exit and the settings on OK are written in place;
// where they may not, nothing is written and exit still ends normally.
// Nothing new appears beside them either way.
void TestFaults::lockedDownKit_data()
{
    QTest::addColumn<bool>("filesWritable");
    QTest::addColumn<bool>("temporaryFolder");
    QTest::newRow("files writable") << true << true;
    QTest::newRow("files read-only") << false << true;
    QTest::newRow("no temporary folder either") << true << false;
}

void TestFaults::lockedDownKit()
{
    QFETCH(bool, filesWritable);
    QFETCH(bool, temporaryFolder);
    TestKit kit;
    writeAll(kit.dat(), kPreviousDat);
    // A compiler in the kit folder, for any user to run.
    QVERIFY(installStandIn(kit.at(QStringLiteral("jikes"))));
    QVERIFY(QFile::setPermissions(standInFile(kit.at(QStringLiteral("jikes"))),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    core::Settings settings;
    settings.setValue(core::kCompiler, QDir::toNativeSeparators(kit.at(QStringLiteral("jikes"))));
    const QByteArray previousIni = core::settingsDocument(settings);
    writeAll(kit.ini(), previousIni);
    const Unprivileged user;
    // The temporary folder the instance is told of: none at all, or the usual.
    const QList<QByteArray> temporaryVariables{"TMPDIR", "TMP", "TEMP"};
    QList<std::optional<QByteArray>> savedTemporary;
    for (const QByteArray &name : temporaryVariables) {
        savedTemporary << (qEnvironmentVariableIsSet(name.constData()) ? std::optional(qgetenv(name.constData())) : std::nullopt);
        if (!temporaryFolder)
            qputenv(name.constData(), QFile::encodeName(QDir::toNativeSeparators(kit.at(QStringLiteral("no-such-folder")))));
    }
    const auto restoreTemporary = [&] {
        for (int i = 0; i < temporaryVariables.size(); ++i) {
            if (savedTemporary[i])
                qputenv(temporaryVariables[i].constData(), *savedTemporary[i]);
            else
                qunsetenv(temporaryVariables[i].constData());
        }
    };
    const auto restoredAtTheEnd = qScopeGuard(restoreTemporary);
    {
        const LockedDown locked(kit, user, filesWritable);
        QVERIFY(locked.made());
        if (!locked.holds())
            QSKIP("this user may write into any folder (Wine run as root); the Windows stage runs "
                  "this test again as an ordinary user");
        Instance instance(kit.path(), -1, &user);
        // The instance has its environment; the test's own is as it was.
        restoreTemporary();
        QCOMPARE(instance.expectLine(), QStringLiteral("ready 2"));
        instance.send("add new-entry");
        // Compile still runs, and its output still shows; the window says
        // where it went instead of compile.log, a file that stays after
        // exit, or that no log could be kept at all.
        instance.send("compilewait");
        QCOMPARE(instance.expectLine(60000),
                 QStringLiteral("ended Compile: the compiler ended with status 0 (success); no errors or warnings"));
        const QString note = instance.expectLine();
        const QString kitFolder = QDir::toNativeSeparators(kit.path());
        QString kept;
        if (temporaryFolder) {
            const QString says = QStringLiteral("note compile.log could not be written in ") + kitFolder
                                 + QStringLiteral("; the output goes to ");
            QVERIFY2(note.startsWith(says) && note.endsWith(QStringLiteral(" instead, which stays after exit.")),
                     qPrintable(note));
            kept = note.mid(says.size()).section(QStringLiteral(" instead,"), 0, 0);
        } else {
            QCOMPARE(note, QStringLiteral("note No log could be kept: neither ") + kitFolder
                               + QStringLiteral(" nor the temporary folder takes a new file. The output shows here only."));
        }
        QVERIFY(instance.expectLine().section(u' ', 1).toInt() >= 3);
        instance.send("settings 3");
        QCOMPARE(instance.expectLine(), filesWritable ? QStringLiteral("settings 1") : QStringLiteral("settings 0"));
        QVERIFY(instance.exitCleanly());
        QVERIFY(!QFile::exists(kit.at(QStringLiteral("compile.log"))));
        if (!kept.isEmpty()) {
            // The only copy of the output, named as the system names it.
            QVERIFY2(readAll(kept).contains("stand-in tool: status 0"), qPrintable(kept));
            QFile::remove(kept);
        }
    }

    QCOMPARE(kit.programFiles(), (QStringList{"TAVO_Starter.dat", "TAVO_Starter.ini"}));
    if (filesWritable) {
        const core::WorkspaceContent c = core::parseWorkspace(readAll(kit.dat()));
        QCOMPARE(c.entries.value_or(QStringList()), (QStringList{"older", "older\\util", "new-entry"}));
        core::Settings values;
        core::readSettingsFile(kit.ini(), values);
        QCOMPARE(values.value(core::kAuthor), QStringLiteral("aaa"));
    } else {
        QCOMPARE(readAll(kit.dat()), kPreviousDat);
        QCOMPARE(readAll(kit.ini()), previousIni);
    }
}

// Whether Compile could make the class folder, as the system answers it
// for the user who runs the check: a kit folder whose access list takes no
// new folder refuses it, one with the read-only attribute (which Explorer
// sets on customised folders, and which says nothing about folders) takes it.
void TestFaults::classFolderAsTheSystemSays_data()
{
    QTest::addColumn<QString>("kitFolder");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("takes new folders") << "open" << "fine";
    QTest::newRow("locked down") << "locked" << "problem";
#ifdef Q_OS_WIN
    QTest::newRow("read-only attribute") << "read-only" << "fine";
#endif
}

void TestFaults::classFolderAsTheSystemSays()
{
    QFETCH(QString, kitFolder);
    QFETCH(QString, verdict);
    TestKit kit;
    core::Settings settings;
    settings.setValue(core::kClassDirectory, QStringLiteral("classes"));
    writeAll(kit.ini(), core::settingsDocument(settings));
    writeAll(kit.dat(), kPreviousDat);
    const Unprivileged user;
    std::unique_ptr<LockedDown> locked;
    if (kitFolder == QLatin1String("locked")) {
        locked = std::make_unique<LockedDown>(kit, user, true);
        QVERIFY(locked->made());
        if (!locked->holds())
            QSKIP("this user may write into any folder (Wine run as root); the Windows stage runs "
                  "this test again as an ordinary user");
    }
#ifdef Q_OS_WIN
    const std::wstring folder = QDir::toNativeSeparators(kit.path()).toStdWString();
    const auto attributesBack = qScopeGuard([&] { SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL); });
    const auto readOnly = [&] { return (GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_READONLY) != 0; };
    if (kitFolder == QLatin1String("read-only")) {
        QVERIFY(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY));
        // Wine keeps no such attribute on a folder; it shows one where the
        // mode bits take writing away, as an access list of reading alone
        // does, and root still makes folders there.
        if (!readOnly()) {
            locked = std::make_unique<LockedDown>(kit, user, true);
            QVERIFY(locked->made());
            if (locked->holds())
                QSKIP("Wine shows the attribute only where this user may make no folder");
        }
        QVERIFY(readOnly());
    }
#endif
    {
        Instance instance(kit.path(), -1, locked ? &user : nullptr);
        QCOMPARE(instance.expectLine(), QStringLiteral("ready 2"));
        instance.send("check");
        QCOMPARE(instance.expectLine(), QStringLiteral("check ") + verdict);
        QVERIFY(instance.exitCleanly());
    }
    // Asked by making it, and it went again.
    QVERIFY(!QFileInfo::exists(kit.at(QStringLiteral("classes"))));
}

// The settings file, written by OK or Apply, on a disk that fills up: the
// save reports failure to its caller and the previous file stays whole.
void TestFaults::settingsSaveOnFullDisk()
{
#ifndef Q_OS_UNIX
    QSKIP(kNoLimits);
#else
    TestKit kit;
    core::Settings previous;
    previous.setValue(core::kAuthor, QStringLiteral("previous author"));
    const QByteArray previousIni = core::settingsDocument(previous);
    writeAll(kit.ini(), previousIni);
    const QStringList before = kit.programFiles();

    Instance instance(kit.path(), 2048);
    QCOMPARE(instance.expectLine(), QStringLiteral("ready 0"));
    instance.send("settings 100");
    QCOMPARE(instance.expectLine(), QStringLiteral("settings 1")); // fits
    core::Settings small;
    core::readSettingsFile(kit.ini(), small);
    QCOMPARE(small.value(core::kAuthor), QString(100, QLatin1Char('a')));

    const QByteArray fitted = readAll(kit.ini());
    instance.send("settings 5000");
    QCOMPARE(instance.expectLine(), QStringLiteral("settings 0")); // does not
    QCOMPARE(readAll(kit.ini()), fitted);
    QCOMPARE(kit.programFiles(), before); // no temporary file stays behind
    QVERIFY(instance.exitCleanly());
    QCOMPARE(readAll(kit.ini()), fitted); // exit never writes the settings
#endif
}

// A real full disk, out of blocks, out of inodes or both, under each file we
// write; and one whose kit folder refuses new files as well, where the file
// may only be written in place. A longer file cannot fit: the write reports
// that nothing was written and the old file stays byte for byte, with no
// temporary file left beside it.
void TestFaults::fullDiskLeavesEveryFileWhole_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("blocks");
    QTest::addColumn<bool>("inodes");
    QTest::addColumn<bool>("locked");
    for (const char *file : {"settings", "workspace", "batch"}) {
        QTest::addRow("%s, no block free", file) << file << true << false << false;
        QTest::addRow("%s, no inode free", file) << file << false << true << false;
        QTest::addRow("%s, nothing free", file) << file << true << true << false;
        QTest::addRow("%s, no block free, folder locked", file) << file << true << false << true;
    }
}

void TestFaults::fullDiskLeavesEveryFileWhole()
{
    QFETCH(QString, file);
    QFETCH(bool, blocks);
    QFETCH(bool, inodes);
    QFETCH(bool, locked);
    SmallDisk disk;
    if (disk.unavailable())
        QSKIP(disk.unavailable());
    const core::Kit kit(QDir::toNativeSeparators(disk.path()));
    const QString kitFolder = disk.path();

    // Each previous file takes more than one block; what replaces it is
    // longer than the blocks it has.
    QString path;
    QByteArray previous;
    std::function<bool()> save;
    if (file == QLatin1String("settings")) {
        path = kitFolder + QStringLiteral("/TAVO_Starter.ini");
        core::Settings values;
        values.setValue(core::kOrganization, QString(3900, QLatin1Char('o')));
        previous = core::settingsDocument(values);
        values.setValue(core::kJREpath, QString(5000, QLatin1Char('j')));
        save = [=] { return core::writeSettingsFile(kit.settingsFile(), values); };
    } else if (file == QLatin1String("workspace")) {
        path = kitFolder + QStringLiteral("/TAVO_Starter.dat");
        core::Workspace w;
        for (int i = 0; i < 3000; ++i)
            w.entries << QStringLiteral("pkg%1").arg(i);
        w.selected = 2999;
        w.EditFileName = QStringLiteral("My.fbt");
        previous = core::serializeWorkspace(w);
        w.entries << QStringLiteral("one-more-package-with-a-long-name") << QString(3000, QLatin1Char('p'));
        save = [=] { return core::writeWorkspaceFile(kit, w); };
    } else {
        path = kitFolder + QStringLiteral("/Compiler.bat");
        core::Settings values;
        values.setValue(core::kCP, QString(5000, QLatin1Char('c')));
        previous = *core::compilerBatchBytes(core::compileWords(core::Settings(), {}));
        const QByteArray longer = *core::compilerBatchBytes(core::compileWords(values, {}));
        // As the export writes it.
        save = [=] { return platform::writeFileWhole(QDir::toNativeSeparators(path), longer, true); };
    }
    writeAll(path, previous);
    const QStringList before = QDir(kitFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    if (blocks)
        QVERIFY(disk.fill(false));
    if (inodes)
        QVERIFY(disk.fill(true));
    bool written = true;
    if (locked) {
#ifdef Q_OS_WIN
        QVERIFY(grantOnly(path, GENERIC_READ | GENERIC_WRITE));
        QVERIFY(grantOnly(kitFolder, GENERIC_READ | GENERIC_EXECUTE));
        QFile probe(kitFolder + QStringLiteral("/probe"));
        const bool holds = !probe.open(QIODevice::WriteOnly);
        if (holds)
            written = save();
        grantOnly(kitFolder, GENERIC_ALL);
        grantOnly(path, GENERIC_ALL);
        if (!holds) {
            probe.remove();
            QSKIP("this user may write into any folder (Wine run as root); the Windows stage runs "
                  "this test again as an ordinary user");
        }
#else
        // Root writes anywhere: the save runs as an ordinary user.
        const Unprivileged user;
        QVERIFY(user.own(path) && user.own(kitFolder));
        QVERIFY(QFile::setPermissions(kitFolder, QFile::ReadOwner | QFile::ExeOwner));
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        QVERIFY(setegid(user.gid) == 0 && seteuid(user.uid) == 0);
        written = save();
        QVERIFY(seteuid(uid) == 0 && setegid(gid) == 0);
        QFile::setPermissions(kitFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    } else {
        written = save();
    }
    QVERIFY2(!written, "a longer file was reported written on a full disk");
    QCOMPARE(readAll(path), previous);
    QCOMPARE(QDir(kitFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

// Two instances in one kit: each saves its own list at exit, so the file
// holds the list of the one that exited last, whole.
void TestFaults::twoInstancesLastExitWins_data()
{
    QTest::addColumn<bool>("firstStartedExitsLast");
    QTest::newRow("first started exits last") << true;
    QTest::newRow("second started exits last") << false;
}

void TestFaults::twoInstancesLastExitWins()
{
    QFETCH(bool, firstStartedExitsLast);
    TestKit kit;
    writeAll(kit.dat(), kPreviousDat);
    Instance a(kit.path());
    QCOMPARE(a.expectLine(), QStringLiteral("ready 2"));
    Instance b(kit.path());
    QCOMPARE(b.expectLine(), QStringLiteral("ready 2"));
    a.send("add from-a");
    b.send("add from-b");

    Instance &first = firstStartedExitsLast ? b : a;
    Instance &last = firstStartedExitsLast ? a : b;
    QVERIFY(first.exitCleanly());
    QVERIFY(last.exitCleanly());

    const QString lastEntry = firstStartedExitsLast ? QStringLiteral("from-a") : QStringLiteral("from-b");
    const core::WorkspaceContent c = core::parseWorkspace(readAll(kit.dat()));
    QVERIFY(c.entries);
    QCOMPARE(*c.entries, QStringList({QStringLiteral("older"), QStringLiteral("older\\util"), lastEntry}));
    QCOMPARE(c.selectedText, QStringLiteral("older\\util"));
    QCOMPARE(c.EditFileName.value_or(QString()), QStringLiteral("Old.fbt"));
}

// Both instances save over and over while the file is read: every read finds
// a whole file from one of them, never a mix or a cut.
void TestFaults::concurrentSavesNeverHalfWritten()
{
    TestKit kit;
    writeAll(kit.dat(), kPreviousDat);
    Instance a(kit.path());
    Instance b(kit.path());
    QCOMPARE(a.expectLine(), QStringLiteral("ready 2"));
    QCOMPARE(b.expectLine(), QStringLiteral("ready 2"));
    a.send("fill 256 aaaa");
    b.send("fill 256 bbbb");
    a.send("saveloop 400");
    b.send("saveloop 400");

    int reads = 0;
    QSet<QString> seen;
    QElapsedTimer t;
    t.start();
    int finished = 0;
    while (finished < 2 && t.elapsed() < 120000) {
        const QByteArray bytes = readAll(kit.dat());
#ifdef Q_OS_WIN
        // A file being replaced cannot be opened there for that moment.
        if (bytes == "<missing>")
            continue;
#endif
        const core::WorkspaceContent c = core::parseWorkspace(bytes);
        QVERIFY2(c.entries && c.EditFileName, "a cut workspace file was seen");
        if (c.entries->size() == 256) {
            const QString label = c.entries->first().left(4);
            for (int i = 0; i < 256; ++i)
                QCOMPARE(c.entries->at(i), QStringLiteral("%1-%2").arg(label).arg(i));
            QCOMPARE(c.selectedText, label + QStringLiteral("-0"));
            seen.insert(label);
        } else {
            QCOMPARE(bytes, kPreviousDat);
        }
        ++reads;
        for (Instance *i : {&a, &b}) {
            if (i->process().canReadLine() || i->process().waitForReadyRead(0)) {
                if (i->expectLine(0) == QLatin1String("saved"))
                    ++finished;
            }
        }
    }
    QCOMPARE(finished, 2);
    QVERIFY(reads > 10);
    QVERIFY(!seen.isEmpty());
    QVERIFY(a.exitCleanly());
    QVERIFY(b.exitCleanly());
}

// An Editor.bat whose command line opens a quote that the next line closes:
// the quote ends with its line, as the interpreter reads it, so no entry
// takes in the line end, and the list saved at exit reads back as it was.
void TestFaults::importedListSurvivesTheSave()
{
    QFile regression(QStringLiteral(TAVO_FUZZ_CORPUS "/batch/quoted-line-break"));
    QVERIFY(regression.open(QIODevice::ReadOnly));
    const core::BatchImport import = core::importEditorBatch(regression.readAll());
    QVERIFY(import.entries);
    QCOMPARE(*import.entries, QStringList{QStringLiteral("first")});
    const QByteArray saved = core::serializeWorkspace({*import.entries, import.selectedIndex, QStringLiteral("X.fbt")});
    const core::WorkspaceContent back = core::parseWorkspace(saved);
    QVERIFY(back.entries);
    for (const QString &entry : *back.entries)
        QVERIFY2(import.entries->contains(entry), qPrintable(QStringLiteral("entry not in the list: ") + entry));
    QCOMPARE(back.selectedText, import.entries->first());
    QCOMPARE(back.EditFileName.value_or(QString()), QStringLiteral("X.fbt"));
}

// The tree below src changes while the library dialog's scan walks it. The
// scan ends, lists nothing twice, lists only folders that were there at some
// time, and still lists every folder nobody touched.
void TestFaults::treeChangesDuringScan_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("sibling removed before it is entered") << "remove";
    QTest::newRow("folders added") << "add";
    QTest::newRow("folder replaced by a file") << "file";
    QTest::newRow("link back to the root added") << "loop";
    QTest::newRow("folder renamed") << "rename";
    QTest::newRow("whole tree removed") << "root";
}

void TestFaults::treeChangesDuringScan()
{
    QFETCH(QString, change);
    // The scan leaves src current; the other tests need a folder that stays.
    struct KeepCurrent {
        QString path = QDir::currentPath();
        ~KeepCurrent() { QDir::setCurrent(path); }
    } keepCurrent;
    QTemporaryDir kit;
    const QString src = kit.filePath(QStringLiteral("src"));
    QStringList stable;
    for (int i = 0; i < 20; ++i)
        stable << QStringLiteral("stable%1/a/b").arg(i);
    makeDirs(src, stable);
    QStringList moving;
    for (int i = 0; i < 20; ++i)
        moving << QStringLiteral("moving%1/x/y").arg(i);
    makeDirs(src, moving);
    const QSet<QString> before = treeEntries(src);

    auto act = [&] {
        for (int i = 0; i < 20; ++i) {
            const QString m = src + QStringLiteral("/moving%1").arg(i);
            if (change == QLatin1String("remove")) {
                QDir(m).removeRecursively();
            } else if (change == QLatin1String("add")) {
                QDir().mkpath(m + QStringLiteral("/x/new/deeper"));
                QDir().mkpath(src + QStringLiteral("/added%1/z").arg(i));
            } else if (change == QLatin1String("file")) {
                QDir(m + QStringLiteral("/x")).removeRecursively();
                QFile f(m + QStringLiteral("/x"));
                f.open(QIODevice::WriteOnly);
            } else if (change == QLatin1String("loop")) {
                // (Windows makes a shortcut file of it: no loop, a file.)
                QFile::link(src, m + QStringLiteral("/x/back"));
            } else if (change == QLatin1String("rename")) {
                QDir().rename(m, src + QStringLiteral("/renamed%1").arg(i));
            }
        }
        if (change == QLatin1String("root"))
            QDir(src).removeRecursively();
    };

    QStringList listed;
    MutatingSink sink(listed, 3, act);
    QElapsedTimer t;
    t.start();
    const core::ScanResult result = core::ScanSourceTree(src, sink);
    QVERIFY(t.elapsed() < 20000);
    QVERIFY(result.rootListed);
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()).size(), listed.size());

    const QSet<QString> after = change == QLatin1String("root") ? QSet<QString>() : treeEntries(src);
    for (const QString &entry : listed) {
        QVERIFY2(before.contains(entry) || after.contains(entry), qPrintable(entry));
        QVERIFY2(!entry.contains(QLatin1String("back\\")), qPrintable(QStringLiteral("walked a link loop: ") + entry));
    }
    if (change == QLatin1String("root"))
        return;
    // Everything untouched is there, at whatever moment the change came.
    for (const QString &entry : before) {
        if (entry.startsWith(QLatin1String("stable")))
            QVERIFY2(listed.contains(entry), qPrintable(entry));
    }
}

// Tools that end at once: started without waiting, and not left as zombies
// of the program however many are started.
void TestFaults::toolsThatEndAtOnceLeaveNoZombies()
{
#ifndef Q_OS_UNIX
    QSKIP(kNoScripts);
#else
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    const QString tool = dir.filePath(QStringLiteral("quick.sh"));
    writeAll(tool, "#!/bin/sh\necho x >> '" + marker.toUtf8() + "'\nexit 7\n");
    QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const int zombiesBefore = zombieChildren();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i)
        QVERIFY(platform::startCommandLine(tool + QStringLiteral(" -Xstdout %1").arg(i)));
    QVERIFY(t.elapsed() < 10000);
    QTRY_COMPARE_WITH_TIMEOUT(readAll(marker).count('\n'), 20, 20000);
    QTest::qWait(300);
    QCOMPARE(zombieChildren(), zombiesBefore);
    QVERIFY(!platform::startCommandLine(dir.filePath(QStringLiteral("missing-tool")) + QStringLiteral(" a")));
    // Started watched and forgotten before they end, as an editor that
    // outlives its first seconds is.
    for (int i = 0; i < 20; ++i)
        QVERIFY(platform::startWatched(tool + QStringLiteral(" -watched %1").arg(i)));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(marker).count('\n'), 40, 20000);
    QTest::qWait(300);
    QCOMPARE(zombieChildren(), zombiesBefore);
#endif
}

// A compiler that never ends: Compile returns at once, the program exits
// through File > Exit while the tool still runs, and the tool is not killed
// by the program's end.
void TestFaults::toolThatNeverEndsDoesNotHoldTheProgram()
{
#ifndef Q_OS_UNIX
    QSKIP(kNoScripts);
#else
    TestKit kit;
    const QString pidFile = kit.at(QStringLiteral("tool.pid"));
    const QString tool = kit.at(QStringLiteral("forever.sh"));
    writeAll(tool, "#!/bin/sh\necho $$ > '" + pidFile.toUtf8() + "'\nexec sleep 600\n");
    QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    core::Settings values;
    values.setValue(core::kCompiler, tool);
    writeAll(kit.ini(), core::settingsDocument(values));

    Instance instance(kit.path());
    QCOMPARE(instance.expectLine(), QStringLiteral("ready 0"));
    QElapsedTimer t;
    t.start();
    instance.send("compile");
    QCOMPARE(instance.expectLine(), QStringLiteral("compiled"));
    QTRY_VERIFY_WITH_TIMEOUT(readAll(pidFile).trimmed().toLongLong() > 0, 20000);
    const qint64 toolPid = readAll(pidFile).trimmed().toLongLong();
    QVERIFY(instance.exitCleanly(20000));
    QVERIFY2(t.elapsed() < 25000, "the program waited for the tool");
    const bool stillRunning = processAlive(toolPid);
    ::kill(pid_t(toolPid), SIGKILL);
    QVERIFY2(stillRunning, "the tool ended with the program");
#endif
}

// Exit while a compile runs: the program neither waits for the compiler nor
// ends it, and the compiler writes compile.log to its end.
void TestFaults::exitDuringCompile()
{
    TestKit kit;
    QVERIFY(installStandIn(kit.at(QStringLiteral("jikes"))));
    core::Settings values;
    values.setValue(core::kCompiler, QDir::toNativeSeparators(kit.at(QStringLiteral("jikes"))));
    writeAll(kit.ini(), core::settingsDocument(values));
    writeAll(kit.at(QStringLiteral("script")), "first\n@sleep 3000\n@lines 1000\nlast\n");
    qputenv("TAVO_STAND_IN_SCRIPT", QFile::encodeName(QDir::toNativeSeparators(kit.at(QStringLiteral("script")))));
    Instance instance(kit.path());
    qunsetenv("TAVO_STAND_IN_SCRIPT");
    QCOMPARE(instance.expectLine(), QStringLiteral("ready 0"));
    instance.send("compile");
    QCOMPARE(instance.expectLine(), QStringLiteral("compiled"));
    const QString log = kit.at(QStringLiteral("compile.log"));
    QTRY_VERIFY_WITH_TIMEOUT(readLines(log).contains(QStringLiteral("first")), 20000);
    QVERIFY(instance.exitCleanly(20000));
    QVERIFY2(!readLines(log).contains(QStringLiteral("last")), "the program waited for the compiler");
    QTRY_COMPARE_WITH_TIMEOUT(readLines(log).value(readLines(log).size() - 1), QStringLiteral("stand-in tool: status 0"), 20000);
    const QStringList lines = readLines(log);
    QVERIFY(lines.contains(QStringLiteral("line 1000")));
    QCOMPARE(lines.value(lines.size() - 2), QStringLiteral("last"));
}

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--instance") == 0)
        return runInstance(argc, argv);
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
