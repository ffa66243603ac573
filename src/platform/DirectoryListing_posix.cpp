#include "platform/DirectoryListing.h"

#include <QFile>

#include <algorithm>
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

namespace {

struct ListedName {
    QByteArray name; // as the file system holds it
    QString text;
    unsigned char type;
};

} // namespace

struct DirectoryListing::Impl {
    DIR *dir = nullptr;
    int fd = -1;
    std::vector<ListedName> entries;
    std::size_t next = 0;
    QByteArray name; // the current name as the file system holds it
    unsigned char type = DT_UNKNOWN;
};

namespace {

// Windows lists a folder's names in the order of their letters made upper
// case, one UTF-16 unit after another (as NTFS keeps them); the order here
// is the same, so that a tree reads alike on either system. Names equal
// that way keep the order of their bytes.
bool listedBefore(const ListedName &a, const ListedName &b)
{
    const qsizetype common = qMin(a.text.size(), b.text.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a.text.at(i).toUpper().unicode();
        const char16_t y = b.text.at(i).toUpper().unicode();
        if (x != y)
            return x < y;
    }
    if (a.text.size() != b.text.size())
        return a.text.size() < b.text.size();
    return a.name < b.name;
}

} // namespace

DirectoryListing::DirectoryListing(const QString &nativeDir) : d(std::make_unique<Impl>())
{
    d->dir = ::opendir(QFile::encodeName(nativeDir).constData());
    if (!d->dir)
        return;
    d->fd = ::dirfd(d->dir);
    // Read whole, then handed out in name order: the order readdir gives
    // looks random.
    while (const struct dirent *e = ::readdir(d->dir)) {
        if (e->d_name[0] == '.')
            continue;
        QByteArray name(e->d_name);
        QString text = QFile::decodeName(name);
        d->entries.push_back({std::move(name), std::move(text), e->d_type});
    }
    std::sort(d->entries.begin(), d->entries.end(), listedBefore);
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
    if (d->next < d->entries.size()) {
        ListedName &e = d->entries[d->next++];
        d->name = std::move(e.name);
        d->type = e.type;
        m_name = std::move(e.text);
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
