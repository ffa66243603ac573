#include "platform/FileSystem.h"

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
        // The clusters first, then the length: where they cannot be had,
        // not a byte changes.
        FILE_ALLOCATION_INFO allocation{};
        allocation.AllocationSize.QuadPart = newSize;
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = newSize;
        ok = SetFileInformationByHandle(h, FileAllocationInfo, &allocation, sizeof allocation)
            && SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end);
        if (!ok) {
            // Whatever was granted goes again.
            FILE_END_OF_FILE_INFO old{};
            old.EndOfFile = oldSize;
            SetFileInformationByHandle(h, FileEndOfFileInfo, &old, sizeof old);
        }
    }
    LONGLONG done = 0;
    while (ok && done < newSize) {
        OVERLAPPED at{};
        at.Offset = DWORD(done & 0xFFFFFFFF);
        at.OffsetHigh = DWORD(done >> 32);
        const DWORD chunk = DWORD(qMin<LONGLONG>(newSize - done, 1 << 30));
        DWORD written = 0;
        ok = WriteFile(h, bytes.constData() + done, chunk, &written, &at) && written > 0;
        done += written;
    }
    if (ok && newSize < oldSize.QuadPart) {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = newSize;
        ok = SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end);
    }
    CloseHandle(h);
    return ok;
}

} // namespace platform
