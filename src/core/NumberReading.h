#pragma once
#include <QLocale>
#include <QString>
#include <optional>

namespace core {

// Rounds to the nearest integer, a half to the even neighbour, and keeps
// the result only when it fits a 16-bit signed integer.
std::optional<qint16> roundToInt16(double value);

// The whole text must be a number in the given number format, blanks around
// it allowed; fractions are rounded half to even; the empty text fails.
std::optional<qint16> readStrictInt16(const QString &text, const QLocale &locale = QLocale::system());

// The number at the start of the text: blanks, tabs and line feeds inside it
// are ignored, "&H" and "&O" introduce hexadecimal and octal, no leading
// number gives 0. Fails only when the value does not fit 16 bits.
std::optional<qint16> readLenientInt16(const QString &text);

} // namespace core
