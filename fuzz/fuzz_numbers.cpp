// The two number readings of the caption loader and the placement values.
#include "FuzzCheck.h"
#include "core/NumberReading.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>

namespace {

const QList<QLocale> &locales()
{
    // Decimal point, decimal comma, and the two languages the captions have.
    static const QList<QLocale> l = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                     QLocale(QLocale::German, QLocale::Germany),
                                     QLocale(QLocale::Japanese, QLocale::Japan),
                                     QLocale(QLocale::French, QLocale::France)};
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);

    for (const QLocale &locale : locales()) {
        const std::optional<qint16> strict = core::readStrictInt16(text, locale);
        if (strict) {
            FUZZ_CHECK(!text.trimmed().isEmpty(), "strict reading accepted a blank text");
            FUZZ_CHECK(core::readStrictInt16(locale.toString(*strict), locale) == strict,
                       "a strictly read value does not read back in its own locale");
        }
    }
    const std::optional<qint16> lenient = core::readLenientInt16(text);
    if (lenient)
        FUZZ_CHECK(core::readLenientInt16(QString::number(*lenient)) == lenient,
                   "a leniently read value does not read back");

    // Every 16-bit value, written the ways a caption or a placement can hold
    // it, reads back as itself.
    if (size >= 2) {
        const qint16 v = qint16(quint16(data[0]) | quint16(data[1]) << 8);
        for (const QLocale &locale : locales())
            FUZZ_CHECK(core::readStrictInt16(QLatin1String(" ") + locale.toString(v) + QLatin1String("\t"), locale) == v,
                       "a formatted 16-bit value does not read back strictly");
        FUZZ_CHECK(core::readLenientInt16(QString::number(v)) == v, "decimal value does not read back");
        FUZZ_CHECK(core::readLenientInt16(QLatin1String("&H") + QString::number(quint16(v), 16)) == v,
                   "hexadecimal value does not read back");
        FUZZ_CHECK(core::readLenientInt16(QLatin1String("&o") + QString::number(quint16(v), 8)) == v,
                   "octal value does not read back");
    }
    return 0;
}
