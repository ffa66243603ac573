#include "platform/DirectoryListing.h"

#include "platform/win/WinPlatform.h"
#include <windows.h>

#include <QStringList>

namespace platform {

std::optional<DirectoryIdentity> directoryIdentity(const QString &nativePath)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens directories; without
    // FILE_FLAG_OPEN_REPARSE_POINT links are followed to their target.
    HANDLE h = CreateFileW(win::longPathForm(nativePath.toStdWString()).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info)
        && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    DirectoryIdentity id;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return id;
}

std::vector<DirectoryIdentity> identitiesFromHereUp(const QString &nativeDir)
{
    std::vector<DirectoryIdentity> found;
    HANDLE h = CreateFileW(win::longPathForm(nativeDir.toStdWString()).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return found;
    // The final path of the handle: junctions and links on the way resolved.
    std::wstring path(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(h, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
    CloseHandle(h);
    if (length == 0 || length >= path.size())
        return found;
    path.resize(length);
    // "\\?\C:\a\b" up to "\\?\C:\", or "\\?\UNC\server\share".
    QString p = QString::fromStdWString(path);
    while (p.endsWith(QLatin1Char('\\')))
        p.chop(1);
    for (;;) {
        if (const auto id = directoryIdentity(p + QLatin1Char('\\')))
            found.push_back(*id);
        const qsizetype cut = p.lastIndexOf(QLatin1Char('\\'));
        // Nothing above a drive or a share.
        const bool share = p.startsWith(QLatin1String("\\\\?\\UNC\\")) && p.count(QLatin1Char('\\')) <= 5;
        if (cut < 0 || p.endsWith(QLatin1Char(':')) || share)
            break;
        p.truncate(cut);
    }
    return found;
}

std::optional<QString> listedFolder(const QString &nativeRoot, const QString &levels)
{
    QString path = nativeRoot;
    QStringList listed;
    for (const QString &level : levels.split(QLatin1Char('\\'))) {
        // A wildcard would list others; an empty level would name the folder above.
        if (level.isEmpty() || level.contains(QLatin1Char('*')) || level.contains(QLatin1Char('?')))
            return std::nullopt;
        WIN32_FIND_DATAW data;
        const QString query = path + QLatin1Char('\\') + level;
        const HANDLE find = FindFirstFileExW(win::longPathForm(query.toStdWString()).c_str(), FindExInfoBasic,
                                             &data, FindExSearchNameMatch, nullptr, 0);
        if (find == INVALID_HANDLE_VALUE)
            return std::nullopt;
        FindClose(find);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        listed << QString::fromWCharArray(data.cFileName);
        path += QLatin1Char('\\') + listed.last();
    }
    return listed.join(QLatin1Char('\\'));
}

struct DirectoryListing::Impl {
    QString dir;
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data;
    bool pending = false; // data holds a name not handed out yet
};

DirectoryListing::DirectoryListing(const QString &nativeDir, Names) : d(std::make_unique<Impl>())
{
    d->dir = nativeDir;
    if (!d->dir.isEmpty() && !d->dir.endsWith(QLatin1Char('\\')) && !d->dir.endsWith(QLatin1Char('/')))
        d->dir += QLatin1Char('\\');
    startListing();
}

DirectoryListing::DirectoryListing(const DirectoryListing &parent, const QString &name) : d(std::make_unique<Impl>())
{
    // A listing is asked for by its path here; the parent's is at hand.
    d->dir = parent.d->dir + name + QLatin1Char('\\');
    startListing();
}

std::optional<DirectoryIdentity> DirectoryListing::ownIdentity() const
{
    return directoryIdentity(d->dir);
}

void DirectoryListing::startListing()
{
    const QString pattern = d->dir + QLatin1Char('*');
    // Names come with their attributes: nothing is asked of the system again.
    d->find = FindFirstFileExW(win::longPathForm(pattern.toStdWString()).c_str(), FindExInfoBasic,
                               &d->data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    d->pending = d->find != INVALID_HANDLE_VALUE;
}

DirectoryListing::~DirectoryListing()
{
    if (d->find != INVALID_HANDLE_VALUE)
        FindClose(d->find);
}

bool DirectoryListing::nameIsExact() const
{
    // The wide listing gives every name as it is.
    return true;
}

bool DirectoryListing::isOpen() const
{
    return d->find != INVALID_HANDLE_VALUE;
}

bool DirectoryListing::next()
{
    while (d->find != INVALID_HANDLE_VALUE) {
        if (!d->pending && !FindNextFileW(d->find, &d->data)) {
            FindClose(d->find);
            d->find = INVALID_HANDLE_VALUE;
            break;
        }
        d->pending = false;
        if (d->data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        m_name = QString::fromWCharArray(d->data.cFileName);
        m_attributesRead = false;
        m_identity.reset();
        return true;
    }
    m_name.clear();
    return false;
}

void DirectoryListing::readAttributes()
{
    if (m_attributesRead)
        return;
    m_attributesRead = true;
    const DWORD attributes = d->data.dwFileAttributes;
    m_isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    m_isLink = m_isDirectory && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::optional<DirectoryIdentity> DirectoryListing::identity()
{
    readAttributes();
    if (!m_isDirectory)
        return std::nullopt;
    if (!m_identity)
        m_identity = directoryIdentity(d->dir + m_name);
    return m_identity;
}

} // namespace platform
