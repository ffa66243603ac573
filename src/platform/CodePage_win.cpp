#include "platform/CodePage.h"

#include <windows.h>

#include <QRegularExpression>

#include <vector>

namespace platform {

namespace {

// Text of bytes in a code page, or nothing when the system cannot read them
// (with MB_ERR_INVALID_CHARS: when a byte is no text in it).
std::optional<QString> decode(UINT codePage, DWORD flags, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int size = MultiByteToWideChar(codePage, flags, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::vector<wchar_t> wide(static_cast<std::size_t>(size));
    if (MultiByteToWideChar(codePage, flags, bytes.constData(), int(bytes.size()), wide.data(), size) != size)
        return std::nullopt;
    return QString::fromWCharArray(wide.data(), size);
}

// Text in a code page, or nothing when a character has no place in it.
std::optional<QByteArray> encode(UINT codePage, const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    const std::wstring wide = text.toStdWString();
    const int length = int(wide.size());
    // Without best fit: the system would otherwise write "O" for an omega.
    // UTF-8 as the code page takes neither flag nor default character.
    const bool utf8 = codePage == CP_UTF8;
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
    if (decode(codePage, 0, bytes) != text)
        return std::nullopt;
    return bytes;
}

// The console's page, which the command interpreter reads batch files and
// a command's output in; the OEM page, its default, without a console.
UINT interpreterCodePage()
{
    const UINT console = GetConsoleOutputCP();
    return console != 0 ? console : GetOEMCP();
}

} // namespace

std::optional<QByteArray> toCodePage(const QString &text)
{
    return encode(CP_ACP, text);
}

std::optional<QByteArray> toInterpreterCodePage(const QString &text)
{
    return encode(interpreterCodePage(), text);
}

QString fromInterpreterCodePage(const QByteArray &bytes)
{
    // Lenient: no flag refuses what the page does not define.
    return decode(interpreterCodePage(), 0, bytes).value_or(QString());
}

std::optional<QString> fromCodePage(const QByteArray &bytes)
{
    // Refused rather than read with the default character in its place.
    return decode(CP_ACP, MB_ERR_INVALID_CHARS, bytes);
}

std::optional<QString> fromWindowsText(const QByteArray &bytes, int)
{
    // The system's code page is the Windows one the file was written in.
    return fromCodePage(bytes);
}

namespace {

// The code page of an encoding name, as far as files name them; 0 for a
// name the system's conversion has no table for under it.
UINT codePageOfName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    static const struct {
        const char *name;
        UINT codePage;
    } kNames[] = {
        {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"x-sjis", 932}, {"ms_kanji", 932},
        {"csshiftjis", 932}, {"windows-31j", 932}, {"ms932", 932}, {"euc-jp", 20932},
        {"iso-2022-jp", 50220}, {"us-ascii", 20127}, {"ascii", 20127}, {"latin1", 28591},
        {"gb2312", 936}, {"gbk", 936}, {"big5", 950}, {"euc-kr", 949}, {"ks_c_5601-1987", 949},
        {"koi8-r", 20866}, {"koi8-u", 21866},
    };
    for (const auto &known : kNames) {
        if (n == QLatin1String(known.name))
            return known.codePage;
    }
    // windows-1252, cp1252, ibm850; iso-8859-1 to -16 are 28591 to 28606.
    static const QRegularExpression numbered(QStringLiteral("^(?:windows-|cp|ibm)(\\d{3,5})$"));
    if (const auto m = numbered.match(n); m.hasMatch())
        return m.captured(1).toUInt();
    static const QRegularExpression iso(QStringLiteral("^iso[-_]?8859-(\\d{1,2})$"));
    if (const auto m = iso.match(n); m.hasMatch())
        return 28590 + m.captured(1).toUInt();
    return 0;
}

} // namespace

std::optional<QString> fromNamedEncoding(const QByteArray &bytes, const QString &name)
{
    const UINT codePage = codePageOfName(name);
    if (codePage == 0 || !IsValidCodePage(codePage))
        return std::nullopt;
    // The ISO-2022 pages take no flags at all.
    return decode(codePage, codePage >= 50220 && codePage <= 50229 ? 0 : MB_ERR_INVALID_CHARS, bytes);
}

QString fromSystemEncoding(const QByteArray &bytes)
{
    // The ANSI code page, in which a console program writes to a file.
    return QString::fromLocal8Bit(bytes);
}

} // namespace platform
