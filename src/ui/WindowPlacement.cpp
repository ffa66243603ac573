#include "ui/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui {

void placeBesideOwner(QWidget *window, const QWidget *owner)
{
    const QScreen *screen = owner ? owner->screen() : nullptr;
    if (!screen)
        return;
    const QRect beside = owner->frameGeometry();
    const QRect room = screen->availableGeometry();
    // A window not yet shown has no frame of its own yet.
    const QSize frame = window->isVisible() ? window->frameGeometry().size() - window->size()
                                            : beside.size() - owner->size();
    const QSize outer = window->size() + frame;
    const int onRight = beside.right() + 1;
    const int onLeft = beside.left() - outer.width();
    const bool rightFits = onRight + outer.width() - 1 <= room.right();
    const bool leftFits = onLeft >= room.left();
    // Where neither side has room, the side with more of it.
    const bool right = rightFits || (!leftFits && room.right() - beside.right() >= beside.left() - room.left());
    int x = right ? onRight : onLeft;
    // std::max last: a window wider than the screen starts where it begins.
    x = std::max(std::min(x, room.right() + 1 - outer.width()), room.left());
    const int y = std::max(std::min(beside.top(), room.bottom() + 1 - outer.height()), room.top());
    window->move(x, y);
}

} // namespace ui
