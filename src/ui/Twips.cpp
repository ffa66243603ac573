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

DesignedLayout::DesignedLayout(int windowWidth, int windowHeight)
    : m_designedWindow{0, 0, windowWidth, windowHeight}, m_window(m_designedWindow)
{
}

void DesignedLayout::add(QWidget *control, const TwipsRect &designed, int lineThickness)
{
    m_entries.append({control, designed, designed, lineThickness});
}

void DesignedLayout::reset()
{
    m_window = m_designedWindow;
    for (Entry &e : m_entries)
        e.box = e.designed;
}

TwipsRect &DesignedLayout::box(const QWidget *control)
{
    for (Entry &e : m_entries) {
        if (e.control == control)
            return e.box;
    }
    Q_ASSERT_X(false, "DesignedLayout::box", "a control that was never added");
    return m_window;
}

QList<QWidget *> DesignedLayout::controls() const
{
    QList<QWidget *> all;
    for (const Entry &e : m_entries)
        all.append(e.control);
    return all;
}

void DesignedLayout::insertRoom(Qt::Orientation orientation, int at, int room)
{
    QList<TwipsRect *> boxes{&m_window};
    for (Entry &e : m_entries)
        boxes.append(&e.box);
    ui::insertRoom(boxes, orientation, at, room);
}

void DesignedLayout::apply(QWidget *window) const
{
    for (const Entry &e : m_entries) {
        const TwipsRect &r = e.box;
        if (e.lineThickness > 0)
            e.control->setGeometry(twipsToPixels(window, r.left), twipsToPixels(window, r.top),
                                   twipsToPixels(window, r.left + r.width) - twipsToPixels(window, r.left),
                                   e.lineThickness);
        else
            e.control->setGeometry(twipsToPixels(window, r));
    }
    window->setFixedSize(twipsToPixels(window, m_window.width), twipsToPixels(window, m_window.height));
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
