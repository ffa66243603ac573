#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <langinfo.h>

namespace platform {

std::optional<QByteArray> toCodePage(const QString &text)
{
    // Stateless: a lone surrogate at the end is an error, not kept for later.
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

std::optional<QString> fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> fromWindowsText(const QByteArray &bytes, int windowsCodePage)
{
    if (auto text = fromCodePage(bytes))
        return text;
    return fromNamedEncoding(bytes, windowsCodePage == 932 ? QStringLiteral("Shift_JIS")
                                                           : QStringLiteral("windows-%1").arg(windowsCodePage));
}

// The command interpreter here reads the locale's encoding, as everything
// else does.
std::optional<QByteArray> toInterpreterCodePage(const QString &text)
{
    return toCodePage(text);
}

QString fromInterpreterCodePage(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

std::optional<QString> fromNamedEncoding(const QByteArray &bytes, const QString &name)
{
    QStringDecoder decoder(name.toLatin1().constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString fromSystemEncoding(const QByteArray &bytes)
{
    // Asked each time: the locale is the one the program runs in now.
    const char *codeSet = nl_langinfo(CODESET);
    if (!codeSet || !*codeSet || qstrcmp(codeSet, "ANSI_X3.4-1968") == 0 || qstricmp(codeSet, "UTF-8") == 0)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(codeSet, QStringConverter::Flag::Stateless);
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
}

} // namespace platform
