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

// The same in the code page the command interpreter reads batch files and a
// command's output in: on Windows the console's (its OEM code page unless
// changed, 437 or 850 on a Western system where the ANSI one is 1252),
// elsewhere the locale's encoding. Reading is lenient: what a user's own
// batch file holds is taken as it comes.
std::optional<QByteArray> toInterpreterCodePage(const QString &text);
QString fromInterpreterCodePage(const QByteArray &bytes);

// Bytes in the encoding a file names by its IANA name ("Shift_JIS",
// "windows-1252", "ISO-8859-15"), as text; nothing when the system knows no
// such encoding or the bytes are not text in it.
std::optional<QString> fromNamedEncoding(const QByteArray &bytes, const QString &name);

// What a program of this system wrote, as text: the ANSI code page on
// Windows, elsewhere the locale's code set (plain ASCII, the C locale's,
// read as the UTF-8 that holds it). A byte that is no text there stands as
// U+FFFD; a line is never lost for it.
QString fromSystemEncoding(const QByteArray &bytes);

} // namespace platform
