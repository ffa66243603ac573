#include "core/NumberReading.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace core {
namespace {

bool isIgnorable(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Hexadecimal and octal literals of up to 16 bits read as signed 16-bit
// values (so &HFFFF is -1); wider ones, up to 32 bits, as signed 32-bit.
std::optional<qint16> readRadix(const QString &text, int pos, int radix)
{
    quint64 value = 0;
    bool any = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (isIgnorable(c))
            continue;
        int d = -1;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        if (d < 0 || d >= radix)
            break;
        value = value * radix + d;
        any = true;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (!any)
        return qint16(0);
    qint64 signedValue;
    if (value <= 0xFFFF)
        signedValue = qint16(quint16(value));
    else
        signedValue = qint32(quint32(value));
    return roundToInt16(double(signedValue));
}

} // namespace

std::optional<qint16> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // default mode: half to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return qint16(rounded);
}

std::optional<qint16> readStrictInt16(const QString &text, const QLocale &locale)
{
    int begin = 0;
    int end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    const QString core = text.mid(begin, end - begin);
    bool ok = false;
    const double value = locale.toDouble(core, &ok);
    if (!ok)
        return std::nullopt;
    return roundToInt16(value);
}

std::optional<qint16> readLenientInt16(const QString &text)
{
    int pos = 0;
    while (pos < text.size() && isIgnorable(text[pos]))
        ++pos;
    if (pos + 1 < text.size() && text[pos] == u'&') {
        const QChar kind = text[pos + 1].toUpper();
        if (kind == u'H')
            return readRadix(text, pos + 2, 16);
        if (kind == u'O')
            return readRadix(text, pos + 2, 8);
    }
    // Collect the decimal number, dropping ignorable characters, and let the
    // C library convert it.
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (isIgnorable(c))
            continue;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            number += char(u);
            digits = true;
        } else if ((u == u'+' || u == u'-') &&
                   (number.empty() || (exponent && (number.back() == 'e')))) {
            number += char(u);
        } else if (u == u'.' && !point && !exponent) {
            number += '.';
            point = true;
        } else if ((u == u'e' || u == u'E' || u == u'd' || u == u'D') && digits && !exponent) {
            number += 'e';
            exponent = true;
        } else {
            break;
        }
    }
    if (!digits)
        return qint16(0);
    // A trailing exponent marker or sign without digits is not part of the number.
    while (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-'))
        number.pop_back();
    const double value = std::strtod(number.c_str(), nullptr);
    return roundToInt16(value);
}

} // namespace core
