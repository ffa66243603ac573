#pragma once
#include <QList>
#include <Qt>

class QLabel;
class QRect;
class QSize;
class QWidget;

namespace ui {

// Positions and sizes are designed in twips (1/1440 inch); the screen's
// real dots per inch decide the pixels (15 twips a pixel at 96 dpi).
double twipsPerPixel(const QWidget *widget);
int twipsToPixels(const QWidget *widget, int twips);
// The twips that hold a length of pixels whole.
int pixelsToTwips(const QWidget *widget, int pixels);

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
QRect twipsToPixels(const QWidget *widget, const TwipsRect &twips);

// Room for a caption that needs more than its designed box: a strip of
// `room` twips opened across a designed layout at `at` (a left edge for
// Qt::Horizontal, a top edge for Qt::Vertical). Boxes that begin at or
// beyond it move by the room; boxes that reach across it, the window's own
// among them, grow by it; boxes before it stay.
void insertRoom(const QList<TwipsRect *> &boxes, Qt::Orientation orientation, int at, int room);

// A window's controls with their designed boxes, and the boxes as the window
// now lays them out: reset to the design, given room where captions need it,
// then applied.
class DesignedLayout
{
public:
    DesignedLayout(int windowWidth, int windowHeight);
    // A line is `lineThickness` pixels high, whatever its twips.
    void add(QWidget *control, const TwipsRect &designed, int lineThickness = 0);
    void reset();
    // The box of a control that was added.
    TwipsRect &box(const QWidget *control);
    QList<QWidget *> controls() const;
    // insertRoom over every box and the window's.
    void insertRoom(Qt::Orientation orientation, int at, int room);
    // Places the controls and fixes the window's size.
    void apply(QWidget *window) const;

private:
    struct Entry {
        QWidget *control;
        TwipsRect designed;
        TwipsRect box;
        int lineThickness;
    };
    QList<Entry> m_entries;
    TwipsRect m_designedWindow;
    TwipsRect m_window;
};

// The pixels a label's text takes, painted in the label's font with its own
// flags; a label that wraps its words wraps them at `width` pixels.
QSize labelTextSize(const QLabel *label, int width);

} // namespace ui
