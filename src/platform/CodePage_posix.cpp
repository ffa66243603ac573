#include "platform/CodePage.h"

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

} // namespace platform
