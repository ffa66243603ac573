#include "platform/ProgramFile.h"

#include <QFile>
#include <QFileInfo>

#include <windows.h>

namespace platform {
namespace {

// A little-endian number of `size` bytes at `at`, or nothing past the end.
bool readNumber(QFile &f, qint64 at, int size, quint32 &value)
{
    if (!f.seek(at))
        return false;
    const QByteArray bytes = f.read(size);
    if (bytes.size() != size)
        return false;
    value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[i]);
    return true;
}

} // namespace

ProgramFileKind programFileKind(const QString &nativeFile, const QString &)
{
    // The system hands a batch file to the command interpreter.
    const QString suffix = QFileInfo(nativeFile).suffix().toLower();
    if (suffix == QLatin1String("bat") || suffix == QLatin1String("cmd"))
        return ProgramFileKind::Runnable;
    QFile f(nativeFile);
    // One we may run but not read is the system's to judge.
    if (!f.open(QIODevice::ReadOnly))
        return ProgramFileKind::Runnable;
    // "MZ", the offset of the "PE\0\0" header, and that header's
    // characteristics: an executable image, not a library.
    quint32 mz = 0, header = 0, pe = 0, characteristics = 0;
    const bool image = readNumber(f, 0, 2, mz) && mz == 0x5A4D && readNumber(f, 0x3C, 4, header)
                       && readNumber(f, header, 4, pe) && pe == 0x00004550
                       && readNumber(f, qint64(header) + 22, 2, characteristics)
                       && (characteristics & IMAGE_FILE_EXECUTABLE_IMAGE) && !(characteristics & IMAGE_FILE_DLL);
    return image ? ProgramFileKind::Runnable : ProgramFileKind::NoProgramImage;
}

} // namespace platform
