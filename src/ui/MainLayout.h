#pragma once
#include "ui/Twips.h"

namespace ui {

// The main window's controls in twips, as designed and as the resize rule
// moves them.
struct MainLayout {
    TwipsRect cmdEdit{120, 0, 1575, 855};
    TwipsRect cmdCompile{1800, 0, 1575, 855};
    TwipsRect sbStatusBar{0, 4590, 3570, 270};
    TwipsRect cmdUp{2520, 960, 975, 375};
    TwipsRect cmdDwn{2520, 1440, 975, 375};
    TwipsRect lstsrcpath{120, 960, 2175, 1320};
    TwipsRect cmdEditSrcpath{2520, 2520, 975, 375};
    TwipsRect cmdNewDir{2520, 2040, 975, 375};
    TwipsRect cmdDelete{2520, 3480, 975, 375};
};

// Lays the controls out for an outer width and a client height (twips).
// A width or height below zero is refused and that one assignment skipped,
// so the control keeps its previous value.
void applyResizeRule(MainLayout &layout, int outerWidth, int clientHeight, int statusBarHeight);

// Half to even, as the layout rounds (W - 350) / 2.
int roundHalfEven(double value);

} // namespace ui
