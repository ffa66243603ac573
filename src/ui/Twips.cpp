#include "ui/Twips.h"

#include <QLabel>
#include <QRect>
#include <QWidget>

#include <cmath>

namespace ui {

double twipsPerPixel(const QWidget *widget)
{
    const int dpi = widget->logicalDpiX();
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int twipsToPixels(const QWidget *widget, int twips)
{
    return qRound(twips / twipsPerPixel(widget));
}

int pixelsToTwips(const QWidget *widget, int pixels)
{
    return int(std::ceil(pixels * twipsPerPixel(widget)));
}

QRect twipsToPixels(const QWidget *widget, const TwipsRect &r)
{
    return QRect(twipsToPixels(widget, r.left), twipsToPixels(widget, r.top), twipsToPixels(widget, r.width),
                 twipsToPixels(widget, r.height));
}

void insertRoom(const QList<TwipsRect *> &boxes, Qt::Orientation orientation, int at, int room)
{
    if (room <= 0)
        return;
    for (TwipsRect *box : boxes) {
        int &start = orientation == Qt::Horizontal ? box->left : box->top;
        int &length = orientation == Qt::Horizontal ? box->width : box->height;
        if (start >= at)
            start += room;
        else if (start + length > at)
            length += room;
    }
}

QSize labelTextSize(const QLabel *label, int width)
{
    // Without centring, which rounds in a large box: the size is the same.
    int flags = int(label->alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter)) | Qt::TextExpandTabs;
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    // The labels of these windows show "&" as it is: none has a buddy.
    const QRect bounds(0, 0, label->wordWrap() ? width : QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return label->fontMetrics().boundingRect(bounds, flags, label->text()).size();
}

} // namespace ui
