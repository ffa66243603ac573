#include "core/Placement.h"

#include <limits>

namespace core {
namespace {

// A distance that cannot overflow, whatever the rectangles.
qint64 gap(qint64 from, qint64 to, qint64 start, qint64 end)
{
    return from > end ? from - end : to < start ? start - to : 0;
}

qint64 distance(const QRect &a, const QRect &b)
{
    return gap(a.left(), a.right(), b.left(), b.right()) + gap(a.top(), a.bottom(), b.top(), b.bottom());
}

// The way along one axis that brings [start, start + length) into
// [low, high), or its start to low where it is longer.
int into(int start, int length, int low, int high)
{
    if (qint64(start) + length > high)
        start = high - length;
    return start < low ? low : start;
}

} // namespace

QRect placeMainWindow(const StoredPlacement &stored, const QRect &defaults, const QList<QRect> &screens,
                      int titleBar, const QSize &largest)
{
    QRect desktop;
    for (const QRect &screen : screens)
        desktop |= screen;
    if (desktop.isEmpty())
        desktop = defaults;
    const qint64 reachX = qint64(kDesktopsOfReach) * desktop.width();
    const qint64 reachY = qint64(kDesktopsOfReach) * desktop.height();

    const auto size = [](const std::optional<int> &v, qint64 reach, int fallback, int most) {
        const int length = v && *v > 0 && *v <= reach ? *v : fallback;
        return qMin(length, most);
    };
    const auto offset = [](const std::optional<int> &v, int low, int high, qint64 reach, int fallback) {
        return v && *v >= low - reach && *v <= high + reach ? *v : fallback;
    };
    const int width = size(stored.width, reachX, defaults.width(), largest.width());
    const int height = size(stored.height, reachY, defaults.height(), largest.height());
    int left = offset(stored.left, desktop.left(), desktop.right(), reachX, defaults.left());
    int top = offset(stored.top, desktop.top(), desktop.bottom(), reachY, defaults.top());

    const QRect bar(left, top, width, qMax(titleBar, 1));
    const QRect *nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &screen : screens) {
        if (screen.intersects(bar))
            return QRect(left, top, width, height);
        if (const qint64 d = distance(bar, screen); d < nearestDistance) {
            nearestDistance = d;
            nearest = &screen;
        }
    }
    if (nearest) {
        left = into(left, width, nearest->left(), nearest->left() + nearest->width());
        top = into(top, bar.height(), nearest->top(), nearest->top() + nearest->height());
    }
    return QRect(left, top, width, height);
}

} // namespace core
