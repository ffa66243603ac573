#include "platform/DirectoryListing.h"

#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

DirectoryIdentity identityOf(const struct stat &st)
{
    DirectoryIdentity id;
    id.volume = std::uint64_t(st.st_dev);
    id.index = std::uint64_t(st.st_ino);
    return id;
}

} // namespace

std::optional<QString> listedFolder(const QString &nativeRoot, const QString &levels)
{
    // Names here match only as they are written.
    QString path = nativeRoot;
    for (const QString &level : levels.split(QLatin1Char('\\')))
        path += QLatin1Char('/') + level;
    if (levels.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return levels;
}

std::optional<DirectoryIdentity> directoryIdentity(const QString &nativePath)
{
    struct stat st;
    if (::stat(QFile::encodeName(nativePath).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return identityOf(st);
}

std::vector<DirectoryIdentity> identitiesFromHereUp(const QString &nativeDir)
{
    std::vector<DirectoryIdentity> found;
    char *real = ::realpath(QFile::encodeName(nativeDir).constData(), nullptr);
    if (!real)
        return found;
    QByteArray path(real);
    ::free(real);
    for (;;) {
        struct stat st;
        if (::stat(path.isEmpty() ? "/" : path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            found.push_back(identityOf(st));
        if (path.isEmpty() || path == "/")
            break;
        path.truncate(path.lastIndexOf('/'));
    }
    return found;
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

bool DirectoryListing::nameIsExact() const
{
    return QFile::encodeName(m_name) == d->name;
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

} // namespace platform
