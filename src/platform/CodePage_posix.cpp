#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace platform
