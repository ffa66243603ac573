#include "platform/JavaInstallations.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <windows.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

using Origin = JavaInstallation::Origin;

// Where the common vendors' installers register their JDKs and JREs, below
// SOFTWARE; each names the installation's folder in one of kFolderValues,
// at most kDepth levels further down (Adoptium's "JDK\17.0.9.9\hotspot\MSI").
const wchar_t *const kVendorKeys[] = {
    L"JavaSoft\\JDK",      L"JavaSoft\\Java Development Kit", L"JavaSoft\\JRE",
    L"JavaSoft\\Java Runtime Environment", L"Eclipse Adoptium", L"Microsoft\\JDK",
    L"Azul Systems\\Zulu", L"BellSoft",                       L"Semeru",
};
const wchar_t *const kFolderValues[] = {L"JavaHome", L"Path", L"InstallationPath"};
constexpr int kDepth = 4;

// Their folders below Program Files, each installation one folder down.
const char *const kVendorFolders[] = {"Java",     "Eclipse Adoptium", "AdoptOpenJDK", "Microsoft",
                                      "Zulu",     "BellSoft",         "Semeru",       "Amazon Corretto"};

// A folder as the system writes it, without a separator at its end.
QString cleaned(const QString &folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(folder)));
}

QString binOf(const QString &folder)
{
    return cleaned(folder) + QStringLiteral("\\bin");
}

QString stringValue(HKEY key, const wchar_t *name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > 65536)
        return QString();
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size) != ERROR_SUCCESS)
        return QString();
    // Up to the first NUL, stored or not.
    const QString value = QString::fromWCharArray(data.data());
    if (type != REG_EXPAND_SZ)
        return value;
    const std::wstring raw = value.toStdWString();
    const DWORD needed = ExpandEnvironmentStringsW(raw.c_str(), nullptr, 0);
    std::vector<wchar_t> expanded(needed + 1, L'\0');
    if (needed == 0 || ExpandEnvironmentStringsW(raw.c_str(), expanded.data(), needed) == 0)
        return value;
    return QString::fromWCharArray(expanded.data());
}

QStringList subkeys(HKEY key)
{
    QStringList names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = DWORD(std::size(name));
        const LONG result = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;  // no vendor's key has so long a name
        if (result != ERROR_SUCCESS)
            break;
        names << QString::fromWCharArray(name, int(length));
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

// A key and the keys below it, each folder it names an installation.
void walk(QList<JavaInstallation> &found, HKEY key, const QString &shownName, int depth)
{
    for (const wchar_t *value : kFolderValues) {
        const QString folder = stringValue(key, value);
        if (!folder.isEmpty())
            addJavaInstallation(found, Origin::Registry, cleaned(folder), binOf(folder), shownName);
    }
    if (depth == 0)
        return;
    for (const QString &name : subkeys(key)) {
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, reinterpret_cast<const wchar_t *>(name.utf16()), 0, KEY_READ, &sub) != ERROR_SUCCESS)
            continue;
        walk(found, sub, shownName + QLatin1Char('\\') + name, depth - 1);
        RegCloseKey(sub);
    }
}

void searchRegistry(QList<JavaInstallation> &found)
{
    struct View {
        HKEY root;
        REGSAM access;
        // The key's name as the registry editor shows it in this view.
        const char *shown;
    };
    const View views[] = {{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "HKLM\\SOFTWARE\\"},
                          {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "HKLM\\SOFTWARE\\WOW6432Node\\"},
                          {HKEY_CURRENT_USER, 0, "HKCU\\SOFTWARE\\"}};
    for (const View &view : views) {
        for (const wchar_t *vendor : kVendorKeys) {
            const std::wstring path = std::wstring(L"SOFTWARE\\") + vendor;
            HKEY key = nullptr;
            if (RegOpenKeyExW(view.root, path.c_str(), 0, KEY_READ | view.access, &key) != ERROR_SUCCESS)
                continue;
            walk(found, key, QLatin1String(view.shown) + QString::fromWCharArray(vendor), kDepth);
            RegCloseKey(key);
        }
    }
}

void searchProgramFiles(QList<JavaInstallation> &found)
{
    QStringList roots;
    for (const char *name : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)"}) {
        const QString root = cleaned(qEnvironmentVariable(name));
        if (!root.isEmpty() && !roots.contains(root, Qt::CaseInsensitive))
            roots << root;
    }
    for (const QString &root : roots) {
        for (const char *vendor : kVendorFolders) {
            const QDir folder(root + QLatin1Char('\\') + QLatin1String(vendor));
            for (const QString &name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
                const QString installation = cleaned(folder.filePath(name));
                addJavaInstallation(found, Origin::ProgramFiles, installation, binOf(installation));
            }
        }
    }
}

} // namespace

QString javaProgramIn(const QString &folder, const QString &name)
{
    const QString path = QDir::toNativeSeparators(folder + QLatin1Char('\\') + name + QStringLiteral(".exe"));
    return QFileInfo(path).isFile() ? path : QString();
}

QList<JavaInstallation> findJavaInstallations()
{
    QList<JavaInstallation> found;
    const QString home = qEnvironmentVariable("JAVA_HOME");
    if (!home.isEmpty())
        addJavaInstallation(found, Origin::JavaHome, cleaned(home), binOf(home));
    for (QString folder : qEnvironmentVariable("PATH").split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // A PATH folder may be quoted for its semicolon or blank.
        folder.remove(QLatin1Char('"'));
        addJavaInstallation(found, Origin::Path, cleaned(folder), cleaned(folder));
    }
    searchRegistry(found);
    searchProgramFiles(found);
    return found;
}

} // namespace platform
