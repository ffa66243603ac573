#include "platform/CodePage.h"

#include <windows.h>

#include <vector>

namespace platform {

std::optional<QByteArray> toCodePage(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    const std::wstring wide = text.toStdWString();
    const int length = int(wide.size());
    // Without best fit: the system would otherwise write "O" for an omega.
    // UTF-8 as the ANSI code page takes neither flag nor default character.
    const UINT codePage = CP_ACP;
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size, nullptr, usedDefaultOut) != size
        || usedDefault)
        return std::nullopt;
    // What reads back differently was not held (a code page may map a
    // character onto another without calling it a default).
    const int back = MultiByteToWideChar(codePage, 0, bytes.constData(), size, nullptr, 0);
    std::vector<wchar_t> again(std::size_t(back > 0 ? back : 0));
    if (back != length
        || MultiByteToWideChar(codePage, 0, bytes.constData(), size, again.data(), back) != back
        || std::wstring(again.begin(), again.end()) != wide)
        return std::nullopt;
    return bytes;
}

} // namespace platform
