#pragma once

class QWidget;

namespace ui {

// Moves a window that is about to show beside its owner: on the owner's
// right where the screen has room for it, else on its left, else on the
// side with more room; always within the owner's screen, frames included
// (a window not yet shown is given the owner's frame).
void placeBesideOwner(QWidget *window, const QWidget *owner);

} // namespace ui
