#pragma once

class QWidget;

namespace ui {

// Positions and sizes are designed in twips (1/1440 inch); the screen's
// real dots per inch decide the pixels (15 twips a pixel at 96 dpi).
double twipsPerPixel(const QWidget *widget);
int twipsToPixels(const QWidget *widget, int twips);

} // namespace ui
