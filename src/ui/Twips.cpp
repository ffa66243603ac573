#include "ui/Twips.h"

#include <QWidget>

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

} // namespace ui
