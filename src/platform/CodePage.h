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
