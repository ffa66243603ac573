// The Windows layer as the program uses it: process starts, the listing's
// hidden and system entries, plain-file tests and the registry read. Built
// for Windows only; run under Wine here.
#include "platform/Console.h"
#include "platform/DirectoryListing.h"
#include "platform/Process.h"
#include "platform/RegistryDecode.h"
#include "platform/win/WinPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <map>

namespace {

std::wstring wide(const QString &text) { return text.toStdWString(); }

bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

QString echoChild()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()
                                    + QStringLiteral("/tavo_echo_child.exe"));
}

// What the child wrote back, by key.
std::map<QString, QString> readReport(const QString &path)
{
    std::map<QString, QString> fields;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fields;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            fields[QString::fromUtf8(line.left(equals))] = QString::fromUtf8(line.mid(equals + 1));
    }
    return fields;
}

bool openable(bool process, DWORD id)
{
    HANDLE h = process ? OpenProcess(SYNCHRONIZE, FALSE, id) : OpenThread(SYNCHRONIZE, FALSE, id);
    if (!h)
        return false;
    CloseHandle(h);
    return true;
}

// Under Wine an ended process's ids stop opening only a moment after the
// last handle is gone.
bool goesAway(bool process, DWORD id)
{
    return QTest::qWaitFor([&] { return !openable(process, id); }, 10000);
}

bool setAttributes(const QString &path, DWORD attributes)
{
    return SetFileAttributesW(wide(QDir::toNativeSeparators(path)).c_str(), attributes);
}

// Wine keeps hidden and system in an extended attribute of the file system,
// which not every file system offers.
bool attributesHeld(const QString &path, DWORD attributes)
{
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD now = GetFileAttributesW(wide(QDir::toNativeSeparators(path)).c_str());
    return now != INVALID_FILE_ATTRIBUTES && (now & kept) == (attributes & kept);
}

QStringList listed(const QString &directory)
{
    QStringList names;
    platform::DirectoryListing listing(QDir::toNativeSeparators(directory));
    while (listing.next())
        names << listing.name();
    names.removeAll(QStringLiteral("."));
    names.removeAll(QStringLiteral(".."));
    names.sort();
    return names;
}

const QString kJapanese = QStringLiteral("\u65e5\u672c\u8a9e"); // outside code page 1252
const QString kAccented = QStringLiteral("Caf\u00e9-\u00c5rhus");

} // namespace

class TestWinPlatform : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startHandsTheLineOverUnchanged_data();
    void startHandsTheLineOverUnchanged();
    void startReturnsAtOnceAndKeepsNoHandle();
    void startRefusesWhatCannotStart();
    void runWaitsAndGivesTheExitCode_data();
    void runWaitsAndGivesTheExitCode();
    void failedWriteIsSaid();
    void outputToAFileAndTheEnd_data();
    void outputToAFileAndTheEnd();

    void listingLeavesHiddenAndSystemOut();
    void listingReachesPastMaxPath();
    void plainFile_data();
    void plainFile();

    void registry_data();
    void registry();
    void registryRootsAndMissingKeys();

private:
    QString report() const { return m_scratch->filePath(QStringLiteral("report.txt")); }
    QString scratch(const QString &name) const
    {
        return QDir::toNativeSeparators(m_scratch->filePath(name));
    }
    QString file(const QString &name, DWORD attributes);
    QString directory(const QString &name, DWORD attributes);
    void reg(const QStringList &arguments);

    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_savedDirectory;
};

void TestWinPlatform::init()
{
    m_scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(m_scratch->isValid());
    m_savedDirectory = QDir::currentPath();
    qputenv("TAVO_ECHO_OUT", QDir::toNativeSeparators(report()).toUtf8());
    qunsetenv("TAVO_ECHO_WAIT");
    qunsetenv("TAVO_ECHO_EXIT");
}

void TestWinPlatform::cleanup()
{
    QDir::setCurrent(m_savedDirectory);
    // Read-only, hidden and system entries would block the removal.
    QDirIterator it(m_scratch->path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        setAttributes(it.next(), FILE_ATTRIBUTE_NORMAL);
    m_scratch.reset();
}

QString TestWinPlatform::file(const QString &name, DWORD attributes)
{
    const QString path = scratch(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return path;
    f.write("x");
    f.close();
    setAttributes(path, attributes);
    return path;
}

QString TestWinPlatform::directory(const QString &name, DWORD attributes)
{
    const QString path = scratch(name);
    QDir().mkpath(path);
    if (attributes)
        setAttributes(path, attributes);
    return path;
}

void TestWinPlatform::reg(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("reg.exe"), arguments);
    QVERIFY2(tool.waitForFinished(120000), qPrintable(arguments.join(' ')));
    QVERIFY2(tool.exitCode() == 0, qPrintable(arguments.join(' ')));
}

void TestWinPlatform::startHandsTheLineOverUnchanged_data()
{
    QTest::addColumn<QString>("folder");   // below the scratch folder, made first
    QTest::addColumn<QString>("program");  // the child's copy, below the scratch folder
    QTest::addColumn<QString>("arguments");

    // Doubled blanks, quotes and shell syntax are the child's business: no
    // command interpreter stands in between.
    QTest::newRow("shell syntax and quotes")
        << QString() << QString() << "-Xstdout  -classpath \"a b\";c.jar src\\fb\\*.java %1 > .\\compile.log";
    QTest::newRow("names in the ANSI code page")
        << kAccented << kAccented + "\\jikes.exe" << "r\u00e9sum\u00e9.fbt";
    QTest::newRow("names outside the ANSI code page")
        << kJapanese << kJapanese + "\\jikes.exe" << kJapanese + "\\*.java";
    QTest::newRow("unquoted program path with blanks")
        << "my tools" << "my tools\\jikes.exe" << "-d classes";
}

void TestWinPlatform::startHandsTheLineOverUnchanged()
{
    QFETCH(QString, folder);
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    const QString where = folder.isEmpty() ? scratch(QString()) : directory(folder, 0);
    QString started = echoChild();
    if (!program.isEmpty()) {
        started = scratch(program);
        QVERIFY(QFile::copy(echoChild(), started));
    }
    QVERIFY(QDir::setCurrent(where));

    const QString line = started + QLatin1Char(' ') + arguments;
    QVERIFY(platform::win::startProcess(wide(line)));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(report()), 60000);
    auto seen = readReport(report());
    // Wine puts quotes around a program name with blanks that it had to
    // search for; Windows hands the line over as it is.
    const bool quoted = runsUnderWine() && program.contains(QLatin1Char(' '));
    QCOMPARE(seen["line"], quoted ? "\"" + started + "\" " + arguments : line);
    QCOMPARE(seen["dir"], QDir::toNativeSeparators(where).chopped(where.endsWith('\\') ? 1 : 0));
    QCOMPARE(seen["show"], QString::number(SW_SHOWNORMAL));
    QVERIFY(!QFile::exists(scratch(QStringLiteral("compile.log"))));
}

void TestWinPlatform::startReturnsAtOnceAndKeepsNoHandle()
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"TavoEchoRelease");
    QVERIFY(release);
    qputenv("TAVO_ECHO_WAIT", "TavoEchoRelease");
    QVERIFY(platform::win::startProcess(wide(echoChild())));
    // The child is still held, so a start that waited would not be back yet.
    QVERIFY(!QFile::exists(report()));
    SetEvent(release);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(report()), 60000);
    CloseHandle(release);

    auto seen = readReport(report());
    const DWORD processId = seen["pid"].toULong();
    const DWORD threadId = seen["tid"].toULong();
    QVERIFY(processId && threadId);
    QVERIFY2(goesAway(true, processId), "a process handle was kept");
    QVERIFY2(goesAway(false, threadId), "a thread handle was kept");
}

void TestWinPlatform::startRefusesWhatCannotStart()
{
    const QString missing = scratch(QStringLiteral("missing.exe"));
    for (const QString &line : {QString(), missing, missing + " " + scratch(QString()), scratch(QString())}) {
        QVERIFY2(!platform::win::startProcess(wide(line)), qPrintable(line));
        unsigned long code = 7;
        QVERIFY(!platform::win::runProcessAndWait(wide(line), code));
    }
}

void TestWinPlatform::runWaitsAndGivesTheExitCode_data()
{
    QTest::addColumn<QByteArray>("exit");
    QTest::addColumn<unsigned long>("code");

    QTest::newRow("small") << QByteArray("3") << 3ul;
    // Codes past 0x7FFFFFFF are still the child's, not a failed start.
    QTest::newRow("access violation") << QByteArray("3221225477") << 0xC0000005ul;
    QTest::newRow("exit(-1)") << QByteArray("-1") << 0xFFFFFFFFul;
}

void TestWinPlatform::runWaitsAndGivesTheExitCode()
{
    QFETCH(QByteArray, exit);
    QFETCH(unsigned long, code);
    QVERIFY(QDir::setCurrent(scratch(QString())));
    qputenv("TAVO_ECHO_EXIT", exit);
    unsigned long seen = 7;
    QVERIFY(platform::win::runProcessAndWait(wide(echoChild() + " -d classes"), seen));
    QCOMPARE(seen, code);
    // Waited for: the report is there the moment the call returns.
    QVERIFY(QFile::exists(report()));
    QCOMPARE(readReport(report())["line"], echoChild() + " -d classes");
}

// The child writes its own output file, has no console window, and its end
// tells an exception code from a status.
void TestWinPlatform::outputToAFileAndTheEnd_data()
{
    QTest::addColumn<QByteArray>("exit");
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("code");
    using Kind = platform::ProcessEnd::Kind;
    QTest::newRow("status") << QByteArray("3") << int(Kind::Exited) << 3u;
    QTest::newRow("access violation") << QByteArray("3221225477") << int(Kind::Crashed) << 0xC0000005u;
    QTest::newRow("exit(-1) is no crash") << QByteArray("-1") << int(Kind::Exited) << 0xFFFFFFFFu;
}

void TestWinPlatform::outputToAFileAndTheEnd()
{
    QFETCH(QByteArray, exit);
    QFETCH(int, kind);
    QFETCH(quint32, code);
    QVERIFY(QDir::setCurrent(scratch(QString())));
    qputenv("TAVO_ECHO_EXIT", exit);
    const QString log = scratch(QStringLiteral("compile.log"));
    platform::OutputFile made;
    std::unique_ptr<platform::RunningProcess> child =
        platform::startWithOutputFile(echoChild() + " -d classes", log, made);
    QVERIFY(made.made && child);
    std::optional<platform::ProcessEnd> end;
    QVERIFY(QTest::qWaitFor([&] { return bool(end = child->poll()); }, 60000));
    QCOMPARE(int(end->kind), kind);
    QCOMPARE(end->code, code);
    QFile output(log);
    QVERIFY(output.open(QIODevice::ReadOnly));
    QCOMPARE(output.readAll().trimmed(), (echoChild() + " -d classes").toUtf8());
    QCOMPARE(readReport(report())["consolewindow"], QStringLiteral("no"));
}

void TestWinPlatform::failedWriteIsSaid()
{
    // A pipe whose reader has gone.
    HANDLE reader = nullptr, writer = nullptr;
    QVERIFY(CreatePipe(&reader, &writer, nullptr, 0));
    CloseHandle(reader);
    const HANDLE saved = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, writer);
    const platform::Written written = platform::writeStandardError(QStringLiteral("x"));
    SetStdHandle(STD_ERROR_HANDLE, saved);
    CloseHandle(writer);
    QCOMPARE(written, platform::Written::Failed);
}

void TestWinPlatform::listingLeavesHiddenAndSystemOut()
{
    struct Entry { QString name; DWORD attributes; bool isDirectory; bool listed; };
    const QList<Entry> entries = {
        {"plain", 0, true, true},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, true, false},
        {"system", FILE_ATTRIBUTE_SYSTEM, true, false},
        {"both", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true, false},
        // Read-only and archive are no reason to leave anything out.
        {"kept", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, true, true},
        {kJapanese, 0, true, true},
        {kJapanese + "-hidden", FILE_ATTRIBUTE_HIDDEN, true, false},
        {kAccented + "-system", FILE_ATTRIBUTE_SYSTEM, true, false},
        {"plain.txt", FILE_ATTRIBUTE_NORMAL, false, true},
        {"hidden.txt", FILE_ATTRIBUTE_HIDDEN, false, false},
    };
    QStringList expected;
    for (const Entry &e : entries) {
        const QString path = QStringLiteral("tree\\") + e.name;
        if (e.isDirectory)
            directory(path, e.attributes);
        else
            file(path, e.attributes);
        QVERIFY2(attributesHeld(scratch(path), e.attributes), qPrintable(path));
        if (e.listed)
            expected << e.name;
    }
    expected.sort();
    QCOMPARE(listed(scratch(QStringLiteral("tree"))), expected);
}

void TestWinPlatform::listingReachesPastMaxPath()
{
    // Folders nested until the path is well past MAX_PATH.
    QString relative = QStringLiteral("deep");
    while (scratch(relative).size() < MAX_PATH + 40)
        relative += QStringLiteral("\\level-of-a-deep-tree");
    const std::wstring full = platform::win::longPathForm(wide(scratch(relative)));
    QVERIFY(full.rfind(L"\\\\?\\", 0) == 0);
    std::wstring made;
    for (const QString &level : scratch(relative).split(QLatin1Char('\\'))) {
        made += (made.empty() ? L"" : L"\\") + wide(level);
        CreateDirectoryW(platform::win::longPathForm(made).c_str(), nullptr);
    }
    for (const QString name : {QStringLiteral("inner"), QStringLiteral("secret")}) {
        const std::wstring path = full + L"\\" + wide(name);
        QVERIFY(CreateDirectoryW(path.c_str(), nullptr));
        if (name == QLatin1String("secret"))
            QVERIFY(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    }
    QCOMPARE(listed(scratch(relative)), QStringList{"inner"});
    QVERIFY(platform::directoryIdentity(scratch(relative) + "\\inner").has_value());
}

void TestWinPlatform::plainFile_data()
{
    QTest::addColumn<QString>("made");      // "name" for a file, "name\\" for a folder
    QTest::addColumn<uint>("attributes");
    QTest::addColumn<QString>("asked");     // empty: the name made
    QTest::addColumn<bool>("plain");

    QTest::newRow("normal") << "MSINFO32.EXE" << uint(FILE_ATTRIBUTE_NORMAL) << "" << true;
    QTest::newRow("read-only") << "readonly.exe" << uint(FILE_ATTRIBUTE_READONLY) << "" << true;
    QTest::newRow("archive") << "archive.exe" << uint(FILE_ATTRIBUTE_ARCHIVE) << "" << true;
    QTest::newRow("outside the ANSI code page") << kJapanese + ".exe" << uint(FILE_ATTRIBUTE_NORMAL) << "" << true;
    QTest::newRow("hidden") << "hidden.exe" << uint(FILE_ATTRIBUTE_HIDDEN) << "" << false;
    QTest::newRow("system") << "system.exe" << uint(FILE_ATTRIBUTE_SYSTEM) << "" << false;
    QTest::newRow("folder") << "MSINFO32.DIR\\" << uint(FILE_ATTRIBUTE_READONLY) << "" << false;
    QTest::newRow("missing") << "MSINFO32.EXE" << uint(FILE_ATTRIBUTE_NORMAL) << "missing.exe" << false;
    // A pattern must not stand for some file that matches it.
    QTest::newRow("pattern *") << "MSINFO32.EXE" << uint(FILE_ATTRIBUTE_NORMAL) << "*.EXE" << false;
    QTest::newRow("pattern ?") << "MSINFO32.EXE" << uint(FILE_ATTRIBUTE_NORMAL) << "MSINFO3?.EXE" << false;
    // The system's own name rules still hold: case does not count.
    QTest::newRow("other case") << "MSINFO32.EXE" << uint(FILE_ATTRIBUTE_NORMAL) << "msinfo32.exe" << true;
}

void TestWinPlatform::plainFile()
{
    QFETCH(QString, made);
    QFETCH(uint, attributes);
    QFETCH(QString, asked);
    QFETCH(bool, plain);
    if (made.endsWith(QLatin1Char('\\')))
        directory(made.chopped(1), attributes);
    else
        file(made, attributes);
    QVERIFY(attributesHeld(scratch(made.endsWith('\\') ? made.chopped(1) : made), attributes));
    const QString path = scratch(asked.isEmpty() ? made : asked);
    QCOMPARE(platform::win::isPlainFile(wide(path)), plain);
    QVERIFY(!platform::win::isPlainFile(std::wstring()));
}

namespace {

const QString kTestKey = QStringLiteral("Software\\TavoStarterTest");

// A value the registry reader gives back: whether it read one, and the text.
using Result = QPair<bool, QByteArray>;

Result readValue(std::uint32_t root, const QString &key, const QString &name)
{
    std::string value = "came in";
    const bool ok = platform::win::getKeyValue(root, key.toStdString(), name.toStdString(), value);
    return {ok, QByteArray::fromStdString(value)};
}

} // namespace

void TestWinPlatform::registry_data()
{
    QTest::addColumn<QStringList>("typeAndData"); // for reg add: /t type /d data; or "import" and a .reg value
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("value");

    const QByteArray msinfo = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    QTest::newRow("string") << QStringList{"REG_SZ", msinfo} << true << msinfo;
    QTest::newRow("empty string") << QStringList{"REG_SZ", ""} << true << QByteArray();
    QTest::newRow("string in the ANSI code page")
        << QStringList{"REG_SZ", "C:\\Programme\\Syst\u00e8me"} << true << QByteArray("C:\\Programme\\Syst\xe8me");
    QTest::newRow("cut at the first NUL") << QStringList{"import", "hex(1):61,00,62,00,00,00,63,00,00,00"}
                                          << true << QByteArray("ab");
    QTest::newRow("no terminator") << QStringList{"import", "hex(1):61,00,62,00"} << true << QByteArray("ab");
    QTest::newRow("small number") << QStringList{"REG_DWORD", "16"} << true << QByteArray("16");
    QTest::newRow("large number") << QStringList{"REG_DWORD", "0x12345678"} << true << QByteArray("305419896");
    QTest::newRow("top number") << QStringList{"REG_DWORD", "4294967295"} << true << QByteArray("4294967295");
    QTest::newRow("binary keeps the value") << QStringList{"REG_BINARY", "433a5c00"} << true << QByteArray("came in");
    QTest::newRow("expandable keeps the value") << QStringList{"REG_EXPAND_SZ", "%SystemRoot%"} << true << QByteArray("came in");
    // The buffer holds the text and its terminating NUL.
    const QString fits(int(platform::kRegistryBufferSize) - 1, QLatin1Char('f'));
    QTest::newRow("fits the buffer") << QStringList{"REG_SZ", fits} << true << fits.toLatin1();
    QTest::newRow("one over the buffer") << QStringList{"REG_SZ", QString(int(platform::kRegistryBufferSize), 'o')}
                                         << false << QByteArray();
    QTest::newRow("long binary") << QStringList{"REG_BINARY", QString(2 * (int(platform::kRegistryBufferSize) + 1), '4')}
                                 << false << QByteArray();
}

void TestWinPlatform::registry()
{
    QFETCH(QStringList, typeAndData);
    QFETCH(bool, ok);
    QFETCH(QByteArray, value);
    const QString key = kTestKey + QLatin1Char('\\') + QString::fromLatin1(QTest::currentDataTag());
    const QString machineKey = QStringLiteral("HKLM\\") + key;
    if (typeAndData.first() == QLatin1String("import")) {
        // For data reg add cannot express; in UTF-16, as the system's own
        // export writes it.
        const QString text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + key
            + "]\r\n\"Value\"=" + typeAndData.last() + "\r\n";
        QFile reg(scratch(QStringLiteral("values.reg")));
        QVERIFY(reg.open(QIODevice::WriteOnly));
        reg.write("\xff\xfe");
        reg.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        reg.close();
        this->reg({QStringLiteral("import"), reg.fileName()});
    } else {
        this->reg({QStringLiteral("add"), machineKey, "/v", "Value", "/t", typeAndData.first(), "/d",
                   typeAndData.last(), "/f"});
    }
    const Result seen = readValue(platform::kHkeyLocalMachine, key, QStringLiteral("Value"));
    QProcess::execute(QStringLiteral("reg.exe"), {QStringLiteral("delete"), machineKey, "/f"});
    QCOMPARE(seen, Result(ok, value));
}

void TestWinPlatform::registryRootsAndMissingKeys()
{
    constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
    const QString key = kTestKey + QStringLiteral("\\Roots");
    reg({"add", "HKLM\\" + key, "/v", "Where", "/t", "REG_SZ", "/d", "machine", "/f"});
    reg({"add", "HKCU\\" + key, "/v", "Where", "/t", "REG_SZ", "/d", "user", "/f"});
    const Result machine = readValue(platform::kHkeyLocalMachine, key, "Where");
    const Result user = readValue(kHkeyCurrentUser, key, "Where");
    const Result notARoot = readValue(0x12345u, key, "Where");
    const Result missingValue = readValue(platform::kHkeyLocalMachine, key, "Missing");
    const Result missingKey = readValue(platform::kHkeyLocalMachine, key + "\\Missing", "Where");
    const Result noKey = readValue(platform::kHkeyLocalMachine, QString(), "Where");
    QProcess::execute("reg.exe", {"delete", "HKLM\\" + key, "/f"});
    QProcess::execute("reg.exe", {"delete", "HKCU\\" + key, "/f"});
    QCOMPARE(machine, Result(true, "machine"));
    QCOMPARE(user, Result(true, "user"));
    QCOMPARE(notARoot, Result(false, QByteArray()));
    QCOMPARE(missingValue, Result(false, QByteArray()));
    QCOMPARE(missingKey, Result(false, QByteArray()));
    QCOMPARE(noKey, Result(false, QByteArray()));
}

QTEST_GUILESS_MAIN(TestWinPlatform)
#include "tst_win_platform.moc"
