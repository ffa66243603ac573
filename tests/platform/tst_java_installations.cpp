// The Java installations where this system keeps them, made by the test:
// JAVA_HOME and PATH everywhere, registry keys in both views and a vendor's
// folder below Program Files on Windows (under Wine, in its prefix), and
// the JDK that scripts/test installs below /usr/lib/jvm elsewhere.
#include "platform/JavaInstallations.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

using Origin = platform::JavaInstallation::Origin;

// A program file as this system starts it (".exe" on Windows, executable
// elsewhere), making its folders.
bool makeProgram(const QString &path)
{
    const QString file = standInFile(path);
    QFile f(file);
    return QDir().mkpath(QFileInfo(file).absolutePath()) && f.open(QIODevice::WriteOnly)
        && f.setPermissions(f.permissions() | QFile::ExeOwner);
}

// "origin|folder|key|java|javac" with the test's folder as "~".
QStringList described(const QList<platform::JavaInstallation> &found, const QString &root)
{
    static const char *const origins[] = {"JAVA_HOME", "PATH", "system folder", "registry", "Program Files"};
    const QString home = QDir::toNativeSeparators(root);
    QStringList list;
    for (const platform::JavaInstallation &i : found) {
        if (!i.folder.startsWith(home))
            continue;
        QStringList fields{QLatin1String(origins[int(i.origin)]), i.folder, i.key, i.java, i.javac};
        for (QString &field : fields)
            field.replace(home, QStringLiteral("~"));
        list << fields.join(u'|');
    }
    return list;
}

} // namespace

class TestJavaInstallations : public QObject
{
    Q_OBJECT

private slots:
    void found();
};

void TestJavaInstallations::found()
{
    QTemporaryDir root;
    const QString r = root.path();
    const QString n = QDir::toNativeSeparators(r);
    QList<QPair<const char *, QByteArray>> saved;
    const auto set = [&](const char *name, const QString &value) {
        saved.append({name, qgetenv(name)});
        qputenv(name, value.toLocal8Bit());
    };
    const auto restore = qScopeGuard([&] {
        for (const auto &[name, value] : saved)
            qputenv(name, value);
    });
    for (const char *program : {"home/bin/java", "home/bin/javac", "path/javac", "other/java"})
        QVERIFY(makeProgram(root.filePath(QLatin1String(program))));
    // Not a program: nothing found there.
    QFile plain(root.filePath("plain/java"));
    QVERIFY(QDir(r).mkdir("plain") && plain.open(QIODevice::WriteOnly));
    plain.close();
    set("JAVA_HOME", n + QDir::separator() + "home");
    const QChar sep = QDir::listSeparator();
#ifdef Q_OS_WIN
    QStringList expected{"JAVA_HOME|~\\home||~\\home\\bin\\java.exe|~\\home\\bin\\javac.exe",
                         "PATH|~\\path|||~\\path\\javac.exe"};
    // The same programs on PATH again are the same installation.
    set("PATH", n + "\\path" + sep + n + "\\home\\bin" + sep + "\"" + n + "\\plain\"");
    // Registered in each view, one with the folder's own "\" at its end, and
    // a vendor's folder below Program Files.
    for (const char *program : {"jdk64/bin/java", "jdk64/bin/javac", "jdk32/bin/java", "pf/Zulu/zulu-17/bin/javac"})
        QVERIFY(makeProgram(root.filePath(QLatin1String(program))));
    struct Key {
        REGSAM view;
        const wchar_t *parent;
        const wchar_t *sub;
        const wchar_t *value;
        QString folder;
    };
    const Key keys[] = {{KEY_WOW64_64KEY, L"SOFTWARE\\JavaSoft\\JDK", L"99.test", L"JavaHome", n + "\\jdk64"},
                        {KEY_WOW64_32KEY, L"SOFTWARE\\Eclipse Adoptium", L"JDK\\98.test\\hotspot\\MSI", L"Path", n + "\\jdk32\\"}};
    for (const Key &k : keys) {
        HKEY key = nullptr;
        const std::wstring path = std::wstring(k.parent) + L"\\" + k.sub;
        QCOMPARE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | k.view, nullptr, &key, nullptr),
                 LONG(ERROR_SUCCESS));
        const std::wstring data = k.folder.toStdWString();
        RegSetValueExW(key, k.value, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()), DWORD((data.size() + 1) * 2));
        RegCloseKey(key);
    }
    const auto removeKeys = qScopeGuard([&] {
        for (const Key &k : keys) {
            HKEY parent = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, k.parent, 0, KEY_ALL_ACCESS | k.view, &parent) == ERROR_SUCCESS) {
                RegDeleteTreeW(parent, std::wstring(k.sub).substr(0, std::wstring(k.sub).find(L'\\')).c_str());
                RegCloseKey(parent);
            }
        }
    });
    for (const char *name : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)"})
        set(name, n + "\\pf");
    expected << "registry|~\\jdk64|HKLM\\SOFTWARE\\JavaSoft\\JDK\\99.test|~\\jdk64\\bin\\java.exe|~\\jdk64\\bin\\javac.exe"
             << "registry|~\\jdk32|HKLM\\SOFTWARE\\WOW6432Node\\Eclipse Adoptium\\JDK\\98.test\\hotspot\\MSI|"
                "~\\jdk32\\bin\\java.exe|"
             << "Program Files|~\\pf\\Zulu\\zulu-17|||~\\pf\\Zulu\\zulu-17\\bin\\javac.exe";
    QCOMPARE(described(platform::findJavaInstallations(), r), expected);
#else
    // A link to the same programs is the same installation, under the name
    // found first.
    QVERIFY(QFile::link(root.filePath("home/bin"), root.filePath("linked")));
    set("PATH", r + "/path" + sep + r + "/linked" + sep + sep + r + "/plain" + sep + r + "/other");
    const QList<platform::JavaInstallation> found = platform::findJavaInstallations();
    QCOMPARE(described(found, r), (QStringList{"JAVA_HOME|~/home||~/home/bin/java|~/home/bin/javac",
                                               "PATH|~/path|||~/path/javac", "PATH|~/other||~/other/java|"}));
    // The JDK below /usr/lib/jvm, found there as PATH no longer leads to it.
    const QFileInfo jdk(QStringLiteral("/usr/lib/jvm/default-java/bin/javac"));
    QVERIFY2(jdk.isExecutable(), "scripts/test installs default-jdk-headless");
    QVERIFY(std::any_of(found.cbegin(), found.cend(), [&](const platform::JavaInstallation &i) {
        return i.origin == Origin::SystemFolder && i.folder.startsWith("/usr/lib/jvm/")
            && QFileInfo(i.javac).canonicalFilePath() == jdk.canonicalFilePath();
    }));
#endif
}

QTEST_GUILESS_MAIN(TestJavaInstallations)
#include "tst_java_installations.moc"
