#include "platform/DirectoryListing.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

struct ListedName {
    QString text;
    // The name as the file system holds it, where text does not say it
    // (bytes that are no text) or it is asked of again (not a directory
    // for certain): a directory's own is text in UTF-8.
    QByteArray name;
    bool exact;      // text is the name, not a stand-in for bytes that are no text
    unsigned char type;

    QByteArray bytes() const { return name.isNull() ? text.toUtf8() : name; }
};

} // namespace

struct DirectoryListing::Impl {
    int fd = -1;
    bool foldersOnly = false;
    bool listed = false;
    QByteArray path;
    std::vector<ListedName> entries;
    std::size_t next = 0;
    const ListedName *current = nullptr;
};

namespace {

// A UTF-16 unit made upper case, as NTFS's table does: one unit for one.
char16_t upper(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u >= 'a' && u <= 'z' ? char16_t(u - 'a' + 'A') : u;
    return c.toUpper().unicode();
}

// Windows lists a folder's names in the order of their letters made upper
// case, one UTF-16 unit after another (as NTFS keeps them); the order here
// is the same, so that a tree reads alike on either system. Names equal
// that way keep the order of their bytes.
bool listedBefore(const ListedName &a, const ListedName &b)
{
    const qsizetype common = qMin(a.text.size(), b.text.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = upper(a.text.at(i));
        const char16_t y = upper(b.text.at(i));
        if (x != y)
            return x < y;
    }
    if (a.text.size() != b.text.size())
        return a.text.size() < b.text.size();
    return a.bytes() < b.bytes();
}

// What the listing says an entry is, where it says so: a plain file (or
// a device, a pipe) is no directory, whatever else is asked of it.
bool mayBeDirectory(unsigned char type)
{
    return type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
}

} // namespace

DirectoryListing::DirectoryListing(const QString &nativeDir, Names names) : d(std::make_unique<Impl>())
{
    d->foldersOnly = names == Names::MayBeFolders;
    d->path = QFile::encodeName(nativeDir);
    d->fd = ::open(d->path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    startListing();
}

DirectoryListing::DirectoryListing(const DirectoryListing &parent, const QString &name) : d(std::make_unique<Impl>())
{
    d->foldersOnly = parent.d->foldersOnly;
    const QByteArray bytes = QFile::encodeName(name);
    d->path.reserve(parent.d->path.size() + 1 + bytes.size());
    d->path.append(parent.d->path).append('/').append(bytes);
    // A folder the rest of the program could not name by its path is not
    // listed either, as a listing by that path would not be.
    if (d->path.size() >= PATH_MAX)
        return;
    d->fd = ::openat(parent.d->fd, bytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Every folder on the way is held open; where that is more than the
    // process may hold, the path serves.
    if (d->fd < 0 && (errno == EMFILE || errno == ENFILE || parent.d->fd < 0))
        d->fd = ::open(d->path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    startListing();
}

std::optional<DirectoryIdentity> DirectoryListing::ownIdentity() const
{
    struct stat st;
    if (d->fd < 0 || ::fstat(d->fd, &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

void DirectoryListing::startListing()
{
    if (d->fd < 0)
        return;
    // Read whole, then handed out in name order: the order the system gives
    // looks random. Where asked, only what may be a directory is kept. The
    // records are read straight into a buffer of the thread's own, with no
    // stream to set up per folder: a scan lists tens of thousands.
    thread_local std::vector<char> buffer(32 * 1024);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // Room for a usual folder's subfolders at once, rather than growing.
    d->entries.reserve(16);
    for (;;) {
        const ssize_t got = ::getdents64(d->fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        // A read that fails ends the listing, as the end of it does.
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *e = reinterpret_cast<const struct dirent64 *>(buffer.data() + at);
            at += e->d_reclen;
            if (e->d_name[0] == '.' || (d->foldersOnly && !mayBeDirectory(e->d_type)))
                continue;
            const QByteArrayView name(e->d_name);
            QString text = decoder.decode(name);
            const bool exact = !decoder.hasError();
            decoder.resetState();
            d->entries.push_back(
                {std::move(text), exact && e->d_type == DT_DIR ? QByteArray() : name.toByteArray(), exact, e->d_type});
        }
    }
    d->listed = true;
    std::sort(d->entries.begin(), d->entries.end(), listedBefore);
}

DirectoryListing::~DirectoryListing()
{
    if (d->fd >= 0)
        ::close(d->fd);
}

bool DirectoryListing::nameIsExact() const
{
    return !d->current || d->current->exact;
}

bool DirectoryListing::isOpen() const
{
    return d->listed;
}

bool DirectoryListing::next()
{
    if (d->next < d->entries.size()) {
        d->current = &d->entries[d->next++];
        m_name = d->current->text;
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
    if (d->current->type == DT_DIR) {
        m_isDirectory = true;
        return;
    }
    struct stat st;
    const QByteArray name = d->current->bytes();
    switch (d->current->type) {
    case DT_LNK:
        break;
    case DT_UNKNOWN:
        // Some file systems do not say; ask without following first.
        if (::fstatat(d->fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
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
    if (::fstatat(d->fd, name.constData(), &st, 0) == 0 && S_ISDIR(st.st_mode)) {
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
        if (::fstatat(d->fd, d->current->bytes().constData(), &st, 0) == 0 && S_ISDIR(st.st_mode))
            m_identity = identityOf(st);
    }
    return m_identity;
}

} // namespace platform
