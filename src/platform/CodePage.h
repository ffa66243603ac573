#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

// Text in the system's 8-bit code page (the ANSI code page on Windows, the
// locale's encoding elsewhere), or nothing when a character has no place
// in it: never a "?" or a look-alike in its stead, which would name another
// folder when read back.
std::optional<QByteArray> toCodePage(const QString &text);
// Bytes of the system's 8-bit code page as text, or nothing when they are
// not text in it: never a stand-in character for what could not be read.
std::optional<QString> fromCodePage(const QByteArray &bytes);
// Bytes of a text file that may have been written on Windows: in the
// system's code page, or, on a system whose code page is not a Windows one
// (UTF-8) and where they are not text in it, in the Windows code page given
// (932 or 1252), as the file would be read where it was written. Nothing
// when neither reads them.
std::optional<QString> fromWindowsText(const QByteArray &bytes, int windowsCodePage);

// Bytes in the encoding a file names by its IANA name ("Shift_JIS",
// "windows-1252", "ISO-8859-15"), as text; nothing when the system knows no
// such encoding or the bytes are not text in it.
std::optional<QString> fromNamedEncoding(const QByteArray &bytes, const QString &name);

} // namespace platform
