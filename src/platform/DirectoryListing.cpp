#include "platform/DirectoryListing.h"

#ifdef Q_OS_WIN
#include "platform/win/WinPlatform.h"
#include <windows.h>
#else
#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace platform {

#ifdef Q_OS_WIN

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

struct DirectoryListing::Impl {
    QString dir;
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data;
    bool pending = false; // data holds a name not handed out yet
};

DirectoryListing::DirectoryListing(const QString &nativeDir) : d(std::make_unique<Impl>())
{
    d->dir = nativeDir;
    if (!d->dir.isEmpty() && !d->dir.endsWith(QLatin1Char('\\')) && !d->dir.endsWith(QLatin1Char('/')))
        d->dir += QLatin1Char('\\');
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

#else // POSIX

namespace {

DirectoryIdentity identityOf(const struct stat &st)
{
    DirectoryIdentity id;
    id.volume = std::uint64_t(st.st_dev);
    id.index = std::uint64_t(st.st_ino);
    return id;
}

} // namespace

std::optional<DirectoryIdentity> directoryIdentity(const QString &nativePath)
{
    struct stat st;
    if (::stat(QFile::encodeName(nativePath).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return identityOf(st);
}

struct DirectoryListing::Impl {
    DIR *dir = nullptr;
    int fd = -1;
    QByteArray name; // the current name as the file system holds it
    unsigned char type = DT_UNKNOWN;
};

DirectoryListing::DirectoryListing(const QString &nativeDir) : d(std::make_unique<Impl>())
{
    d->dir = ::opendir(QFile::encodeName(nativeDir).constData());
    if (d->dir)
        d->fd = ::dirfd(d->dir);
}

DirectoryListing::~DirectoryListing()
{
    if (d->dir)
        ::closedir(d->dir);
}

bool DirectoryListing::isOpen() const
{
    return d->dir != nullptr;
}

bool DirectoryListing::next()
{
    while (d->dir) {
        const struct dirent *e = ::readdir(d->dir);
        if (!e)
            break;
        if (e->d_name[0] == '.')
            continue;
        d->name = QByteArray(e->d_name);
        d->type = e->d_type;
        m_name = QFile::decodeName(d->name);
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
    m_isDirectory = false;
    m_isLink = false;
    struct stat st;
    switch (d->type) {
    case DT_DIR:
        m_isDirectory = true;
        return;
    case DT_LNK:
        break;
    case DT_UNKNOWN:
        // Some file systems do not say; ask without following first.
        if (::fstatat(d->fd, d->name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        if (S_ISDIR(st.st_mode)) {
            m_isDirectory = true;
            m_identity = identityOf(st);
            return;
        }
        if (!S_ISLNK(st.st_mode))
            return;
        break;
    default:
        return;
    }
    // A link: what counts is where it leads.
    if (::fstatat(d->fd, d->name.constData(), &st, 0) == 0 && S_ISDIR(st.st_mode)) {
        m_isDirectory = true;
        m_isLink = true;
        m_identity = identityOf(st);
    }
}

std::optional<DirectoryIdentity> DirectoryListing::identity()
{
    readAttributes();
    if (!m_isDirectory)
        return std::nullopt;
    if (!m_identity) {
        struct stat st;
        if (::fstatat(d->fd, d->name.constData(), &st, 0) == 0 && S_ISDIR(st.st_mode))
            m_identity = identityOf(st);
    }
    return m_identity;
}

#endif

bool DirectoryListing::isDirectory()
{
    readAttributes();
    return m_isDirectory;
}

bool DirectoryListing::isLinkToDirectory()
{
    readAttributes();
    return m_isLink;
}

} // namespace platform
