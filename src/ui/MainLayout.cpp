#include "ui/MainLayout.h"

#include <cmath>

namespace ui {
namespace {

void setSize(int &field, double value)
{
    if (value >= 0)
        field = roundHalfEven(value);
}

} // namespace

int roundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

void applyResizeRule(MainLayout &l, int W, int H, int statusBarHeight)
{
    setSize(l.cmdEdit.width, (W - 350) / 2.0);
    l.cmdCompile.left = l.cmdEdit.left + l.cmdEdit.width + 50;
    setSize(l.cmdCompile.width, l.cmdEdit.width);
    setSize(l.lstsrcpath.width, double(W) - l.lstsrcpath.left - l.cmdUp.width - 250);
    l.cmdUp.left = l.lstsrcpath.left + l.lstsrcpath.width + 50;
    l.cmdDwn.left = l.cmdUp.left;
    l.cmdNewDir.left = l.cmdUp.left;
    l.cmdDelete.left = l.cmdUp.left;
    l.cmdEditSrcpath.left = l.cmdUp.left;
    setSize(l.lstsrcpath.height, double(H) - statusBarHeight - l.lstsrcpath.top - 50);
}

} // namespace ui
