#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool changeDirectory(const QString &path)
{
    return !path.isEmpty() && QDir::setCurrent(nativePath(path));
}

QString currentDirectory()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool makeDirectory(const QString &path)
{
    const QString native = nativePath(path);
    if (native.isEmpty())
        return false;
    QFileInfo info(native);
    if (info.exists() || info.isSymLink())
        return false;
    // mkdir (not mkpath): parents are never created.
    return QDir().mkdir(native);
}

namespace {

// Over the existing file, then cut to the new length: the only way left
// when its folder takes no new file. A failure part-way cannot be undone.
bool writeInPlace(const QString &native, const QByteArray &bytes)
{
    if (!QFileInfo(native).isFile())
        return false;
    QFile file(native);
    // Not WriteOnly, which would empty the file before a byte is written.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    return file.write(bytes) == bytes.size() && file.flush() && file.resize(bytes.size());
}

} // namespace

bool writeFileWhole(const QString &path, const QByteArray &bytes, bool inPlaceFallback)
{
    const QString native = nativePath(path);
    QSaveFile file(native);
    // Qt offers its own fallback on some systems only; ours is the same on
    // every one.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return inPlaceFallback && writeInPlace(native, bytes);
    // The final flush can fail on a full disk; commit() alone would then put a
    // cut file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
