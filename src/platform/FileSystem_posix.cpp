#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

MadeDirectory makeDirectoryLevel(const QString &path)
{
    const QString native = nativePath(path);
    if (native.isEmpty())
        return MadeDirectory::Refused;
    // One level: parents are never created. A link, even one that leads
    // nowhere, is there already.
    if (::mkdir(QFile::encodeName(native).constData(), 0777) == 0)
        return MadeDirectory::Made;
    switch (errno) {
    case EEXIST:
        return MadeDirectory::Exists;
    case ENOENT:
        return MadeDirectory::ParentMissing;
    case ENAMETOOLONG:
        return MadeDirectory::NameTooLong;
    default:
        return MadeDirectory::Refused;
    }
}

bool refusesNewFileForPermission(const QString &nativeDir)
{
    // Asked by trying: only the system knows what it would refuse, and why.
    const QByteArray probe = QFile::encodeName(nativeDir) + "/.tavo-probe-" + QByteArray::number(::getpid())
        + '-' + QByteArray::number(QRandomGenerator::global()->generate());
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

namespace {

bool writeAllAt(int fd, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(size - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool overwriteInPlace(const QString &nativeFile, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(nativeFile).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && bytes.size() > st.st_size) {
        // The blocks first: where they cannot be had, not a byte changes.
        // posix_fallocate may have grown the file part-way before it gave
        // up; the old length is put back.
        if (::posix_fallocate(fd, 0, off_t(bytes.size())) != 0) {
            if (::ftruncate(fd, st.st_size) != 0) {
                // Nothing more can be done; the old bytes are all there.
            }
            ok = false;
        }
    }
    ok = ok && writeAllAt(fd, bytes.constData(), bytes.size());
    if (ok && bytes.size() < st.st_size)
        ok = ::ftruncate(fd, off_t(bytes.size())) == 0;
    ::close(fd);
    return ok;
}

} // namespace platform
