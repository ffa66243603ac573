#include "platform/FileSystem.h"

#include "platform/NativePath.h"
#include "platform/win/WinPlatform.h"
#include <windows.h>

#include <QRandomGenerator>

namespace platform {

namespace {

std::wstring wide(const QString &nativePath)
{
    return win::longPathForm(nativePath.toStdWString());
}

} // namespace

MadeDirectory makeDirectoryLevel(const QString &path)
{
    const QString native = nativePath(path);
    if (native.isEmpty())
        return MadeDirectory::Refused;
    if (CreateDirectoryW(wide(native).c_str(), nullptr))
        return MadeDirectory::Made;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return MadeDirectory::Exists;
    // A level longer than the file system takes (255 units) is said in more
    // than one way: an invalid name, and under Wine a name not found.
    const QString level = native.mid(native.lastIndexOf(QLatin1Char('\\')) + 1);
    if (error == ERROR_FILENAME_EXCED_RANGE || level.size() > 255)
        return MadeDirectory::NameTooLong;
    return error == ERROR_PATH_NOT_FOUND ? MadeDirectory::ParentMissing : MadeDirectory::Refused;
}

bool refusesNewFileForPermission(const QString &nativeDir)
{
    // Asked by trying: only the system knows what it would refuse, and why.
    QString probe = nativeDir;
    if (!probe.endsWith(QLatin1Char('\\')))
        probe += QLatin1Char('\\');
    probe += QStringLiteral(".tavo-probe-%1-%2").arg(GetCurrentProcessId()).arg(QRandomGenerator::global()->generate());
    const HANDLE h = CreateFileW(wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

namespace {

bool writeAt(HANDLE h, const char *data, LONGLONG size, LONGLONG offset)
{
    LONGLONG done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = DWORD((offset + done) & 0xFFFFFFFF);
        at.OffsetHigh = DWORD((offset + done) >> 32);
        const DWORD chunk = DWORD(qMin<LONGLONG>(size - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(h, data + done, chunk, &written, &at) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool setLength(HANDLE h, LONGLONG length)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    return SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end);
}

} // namespace

bool overwriteInPlace(const QString &nativeFile, const QByteArray &bytes)
{
    const HANDLE h = CreateFileW(wide(nativeFile).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER oldSize{};
    bool ok = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &oldSize);
    const LONGLONG newSize = bytes.size();
    if (ok && newSize > oldSize.QuadPart) {
        // Room first: the new tail is written (zeros) before a byte of the
        // old content changes, so the system allocates it or says the disk
        // is full. (Setting the allocation size would not write, but not
        // every system takes it: Wine does not.) What was granted goes again
        // on failure.
        const QByteArray zeros(int(qMin<LONGLONG>(newSize - oldSize.QuadPart, 1 << 16)), '\0');
        for (LONGLONG at = oldSize.QuadPart; ok && at < newSize; at += zeros.size())
            ok = writeAt(h, zeros.constData(), qMin<LONGLONG>(zeros.size(), newSize - at), at);
        if (!ok)
            setLength(h, oldSize.QuadPart);
    }
    ok = ok && writeAt(h, bytes.constData(), newSize, 0);
    if (ok && newSize < oldSize.QuadPart)
        ok = setLength(h, newSize);
    CloseHandle(h);
    return ok;
}

} // namespace platform
